#pragma once
// For the clean-up's own files: a thread that may create nothing more
// waits here until the thread running the actions ends the process.
namespace tallowick::platform {

[[noreturn]] void WaitUntilEnded();

}  // namespace tallowick::platform
