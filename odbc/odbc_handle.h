#pragma once
// Owning holders for ODBC handles: one handle, freed when the holder goes.
// A connection handle is disconnected before it is freed.

#include <utility>

#include "odbc/odbc_api.h"

namespace tallowick {

template <SQLSMALLINT HandleType>
class OdbcHandle {
 public:
  OdbcHandle() = default;
  ~OdbcHandle() { Reset(); }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;
  OdbcHandle(OdbcHandle&& other) noexcept
      : m_handle(std::exchange(other.m_handle, SQL_NULL_HANDLE)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      m_handle = std::exchange(other.m_handle, SQL_NULL_HANDLE);
    }
    return *this;
  }

  // Frees the handle held, then allocates a new one on `input`
  // (SQL_NULL_HANDLE for an environment). Returns the allocation's result.
  SQLRETURN Allocate(SQLHANDLE input) {
    Reset();
    SQLHANDLE handle = SQL_NULL_HANDLE;
    const SQLRETURN result = SQLAllocHandle(HandleType, input, &handle);
    if (SQL_SUCCEEDED(result)) m_handle = handle;
    return result;
  }

  void Reset() {
    if (m_handle == SQL_NULL_HANDLE) return;
    if constexpr (HandleType == SQL_HANDLE_DBC) SQLDisconnect(m_handle);
    SQLFreeHandle(HandleType, m_handle);
    m_handle = SQL_NULL_HANDLE;
  }

  SQLHANDLE Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }

 private:
  SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

using EnvironmentHandle = OdbcHandle<SQL_HANDLE_ENV>;
using ConnectionHandle = OdbcHandle<SQL_HANDLE_DBC>;
using StatementHandle = OdbcHandle<SQL_HANDLE_STMT>;

// Allocates an environment that declares ODBC 3 behaviour (the SQLite driver
// reports the ODBC 2 date and time codes otherwise).
inline SQLRETURN AllocateOdbc3Environment(EnvironmentHandle& environment) {
  SQLRETURN result = environment.Allocate(SQL_NULL_HANDLE);
  if (!SQL_SUCCEEDED(result)) return result;
  return SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(SQL_OV_ODBC3)),
                       SQL_IS_INTEGER);
}

}  // namespace tallowick
