#include "tests/support/dbf_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/command_output.h"

namespace tallowick::testing {

void WriteOneTownTable(const std::string& path) {
  const std::string script =
      "import dbf, sys\n"
      "t = dbf.Table(sys.argv[1], 'city C(20)')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append(('Oslo',))\n"
      "t.close()\n";
  int status = -1;
  CommandOutput("/usr/bin/python3 -c " + ShellQuoted(script) + " " + ShellQuoted(path), &status);
  ASSERT_EQ(status, 0) << "python3-dbf is needed to write " << path;
}

}  // namespace tallowick::testing
