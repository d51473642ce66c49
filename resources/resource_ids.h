#pragma once
// Identifiers of the dialog templates, images and controls of the resources.
// Pages and dialogs reach their controls with these.
#include "ui/standard_ids.h"

namespace tallowick::res {

// Dialog templates.
inline constexpr int kWaitDialog = 129;
inline constexpr int kLoginDialog = 130;
inline constexpr int kWelcomeDialog = 131;
inline constexpr int kGeneratorPage = 132;
inline constexpr int kViewerPage = 133;
inline constexpr int kDestinationDialog = 142;

// Images.
inline constexpr int kProgramIcon = 128;       // 32 x 32, the program's window icon
inline constexpr int kInstallerIcon = 132;     // 32 x 32, on the welcome page
inline constexpr int kInstallerPicture = 141;  // 104 x 210, beside both installer pages

// "PDB Generator" page (template 132).
namespace generator {
inline constexpr int kBrowse = 1001;
inline constexpr int kTableList = 1002;
inline constexpr int kAvailableFields = 1003;
inline constexpr int kSelectedFields = 1004;
inline constexpr int kAddFields = 1005;
inline constexpr int kRemoveFields = 1006;
inline constexpr int kQuery = 1007;
inline constexpr int kFetch = 1008;
inline constexpr int kPreviewList = 1009;
inline constexpr int kPdbName = 1010;
inline constexpr int kOutputFolder = 1011;
inline constexpr int kBrowseOutput = 1013;
inline constexpr int kType = 1014;
inline constexpr int kGenerate = 1015;
inline constexpr int kDataSource = 1016;
inline constexpr int kCreator = 1017;
inline constexpr int kViewLog = 1018;
inline constexpr int kHandheldCharset = 1019;  // the set text is stored in on the handheld
}  // namespace generator

// "PDB Viewer" page (template 133).
namespace viewer {
inline constexpr int kType = 1014;
inline constexpr int kRecordList = 1020;
inline constexpr int kHelperPath = 1021;
inline constexpr int kPdbPath = 1022;
inline constexpr int kSelectHelper = 1023;
inline constexpr int kBrowsePdb = 1024;
inline constexpr int kName = 1025;
inline constexpr int kCreator = 1028;
inline constexpr int kTotalFields = 1030;
inline constexpr int kTotalRecords = 1031;
inline constexpr int kTextAs = 1032;  // the set the shown texts are decoded from
}  // namespace viewer

// "Connection" dialog (template 130).
namespace login {
inline constexpr int kUserName = 1017;
inline constexpr int kPassword = 1018;
}  // namespace login

// Installer destination page (template 142).
namespace destination {
inline constexpr int kBack = 3;
inline constexpr int kBrowse = 4;
inline constexpr int kFolder = 1010;
}  // namespace destination

}  // namespace tallowick::res
