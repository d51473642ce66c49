#pragma once
// The ODBC API (sql.h, sqlext.h). On Windows its headers rely on the types
// of <windows.h>, which must come first.
#ifdef _WIN32
#include <windows.h>
#endif

#include <sql.h>
#include <sqlext.h>
