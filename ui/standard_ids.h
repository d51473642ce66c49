#pragma once
// Identifiers shared by every dialog: the standard buttons, the results of a
// modal run and of a message box, and the id of controls nobody addresses.

namespace tallowick {

inline constexpr int kIdStatic = -1;  // a control that is never reached by id

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kIdHelp = 9;  // the property sheet's Help button

}  // namespace tallowick
