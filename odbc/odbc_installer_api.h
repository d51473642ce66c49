#pragma once
// The ODBC installer API (odbcinst.h). On Windows its header relies on the
// types of <windows.h>, which must come first.
#ifdef _WIN32
#include <windows.h>
#endif

#include <odbcinst.h>
