#pragma once
// The fixed texts of the two logs, as the tests expect them word for word.
#include <string>

namespace tallowick::testing {

inline std::string ExpectedLogHead(const std::string& pdb, const std::string& creator,
                                   const std::string& type) {
  return "Tallowick Log....\n\n"
         "Please Save following information for your reference purpose.\n"
         "\nPDB name   \t:" +
         pdb + "\nPDB Creator\t:" + creator + "\nPDB Type\t:" + type +
         "\n\nData records written into PDB in following format.\n"
         "You must use this format to read it.\n\n"
         "PDB Record Format:\n\n"
         "typedef struct\n{";
}

inline const char* const kTypedefHeading =
    "\n\n\n--------------------------------------------------------------------"
    "\nUse Following Palm Data types for Date and Time:\n";
inline const char* const kDateTimeTypedef =
    "\ntypedef struct {"
    "\n\tsigned short\tsecond;"
    "\n\tsigned short\tminute;"
    "\n\tsigned short\thour;"
    "\n\tsigned short\tday;"
    "\n\tsigned short\tmonth;"
    "\n\tsigned short\tyear;"
    "\n\tsigned short\tweekDay;\t// Days since Sunday (0 to 6)"
    "\n\t} DateTimeType;";
inline const char* const kTimeTypedef =
    "\n\ntypedef struct {"
    "\n\tunsigned char\thours;"
    "\n\tunsigned char\tminutes;"
    "\n} TimeType;";
inline const char* const kDateTypedef =
    "\n\ntypedef struct {"
    "\n\tunsigned short   year  :7;\t//first 7 bits forms year"
    "\n\tunsigned short   month :4;\t//next 4 bits forms month"
    "\n\tunsigned short   day   :5;\t//next 5 bits forms day"
    "\n} DateType;";

inline std::string ExpectedLogClosing(const std::string& helper, const std::string& pdb,
                                      const std::string& folder) {
  return "\n\n--------------------------------------------------------------------"
         "\n\n\"" +
         helper +
         ".mhl\" file generated accompanying this pdb. Use PQuorvane tab to "
         "use this Helper file alongwith \"" +
         pdb +
         ".pdb\""
         "\n\nFor More Detailed information about generated PDB, see \"TallowickProcess.log\" at "
         "\"" +
         folder +
         "\""
         "\nYou need to save these log(s) for later reference purpose, otherwise these logs may "
         "get overwritten.";
}

inline std::string ExpectedProcessHead(const std::string& pdb) {
  return "Started PDB Generation for \"" + pdb +
         ".pdb\"\n\n"
         "Retriving database Column information...\n";
}

inline std::string ExpectedProcessTail(const std::string& helper, const std::string& pdb) {
  return "\"" + helper +
         ".mhl\" generated accompanying this pdb. PQuorvane tab of this "
         "application uses this Helper file alongwith \"" +
         pdb +
         ".pdb\""
         "\n\nThis helper file contains information about the actual generated pdb. It contains "
         "information like pdb name, creator, type and record format."
         "\nPQuorvane uses this record format to show you actual record contents."
         "\nUse PQuorvane tab to verify pdb contents. You can also use any "
         "\nPalm Development tool like \"Metrowerks CodeWarrior\" or any other tool using record "
         "format given in log.";
}

inline std::string ExpectedProcessWritten(unsigned long total) {
  return "Finished Reading Records from database\n\n"
         "Writing Records into to PDB...\n"
         "Finsished writing records to PDB.\n\n"
         "\nTotal Records written: " +
         std::to_string(total) +
         "\n\n"
         "Finsished Generating PDB.\n\n";
}

// The process log's last lines when a run failed.
inline const char* const kProcessRunFailed =
    "\nThe PDB was not generated; the earlier PDB and Helper file were left as they were.\n"
    "\nTotal Records written: 0\n\n";

}  // namespace tallowick::testing
