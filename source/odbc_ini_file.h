#pragma once
// The user's odbc.ini on disk: where it is, and changing it so that no
// other process (another run of ours) can change it at the same time and
// no reader ever sees it half written.
#include <functional>
#include <string>

namespace tallowick {

// $ODBCINI when set and not empty, else $HOME/.odbc.ini (the home folder of
// the password database without HOME). A symbolic link is followed to the
// file it names, even when that file does not exist yet.
std::string UserOdbcIniPath();

// The lock file of an odbc.ini: beside it, its name followed by ".lock".
std::string OdbcIniLockPath(const std::string& iniPath);

// Takes the lock beside `iniPath`, reads the file (a missing file reads as
// empty), lets `edit` change the text and, when it changed, writes the new
// text to a temporary file beside it with the old file's permissions and
// renames it over the old one. Temporary files that a killed run left there
// are removed on the way. False (and `error` says why) when the lock, the
// read or the write fails; the file is then as it was.
//
// The temporary file's clean-up action is registered before the lock is
// taken (a thread stopped in the registration while the process ends must
// not hold the lock the clean-up actions need). From inside a clean-up
// action (`fromCleanup`) none is registered: none can be, once the process
// is ending.
bool EditOdbcIni(const std::string& iniPath, const std::function<void(std::string&)>& edit,
                 std::string& error, bool fromCleanup = false);

}  // namespace tallowick
