#include "reader_code/c_reader_text.h"

#include <algorithm>
#include <cstdio>

#include "engine/generation_log.h"
#include "reader_code/c_literal.h"

namespace tallowick {

namespace {

// `text` with every "$T" replaced by the struct's name and every "$M" by
// `member` (the field's member, "out->name").
std::string Filled(std::string_view text, const std::string& typeName,
                   const std::string& member = {}) {
  std::string out;
  out.reserve(text.size() + 64);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size() && (text[i + 1] == 'T' || text[i + 1] == 'M')) {
      out += text[++i] == 'T' ? typeName : member;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A name from the Helper file inside a comment, on one line.
std::string CommentName(const std::string& name) {
  return CommentText(EscapeControlCharacters(name));
}

std::string KindName(FieldKind kind) {
  return std::string(FieldKindName(static_cast<std::uint8_t>(kind)));
}

// A four-character code as Palm OS holds it: the first character in the
// high byte.
std::string FourCharacterConstant(const std::string& code) {
  unsigned long value = 0;
  for (const char c : code) value = (value << 8) | static_cast<unsigned char>(c);
  char text[32];
  std::snprintf(text, sizeof text, "((UInt32)0x%08lXUL)", value);
  return text;
}

const char* MemberType(FieldKind kind) {
  switch (kind) {
    case FieldKind::String:
      return "const Char *";
    case FieldKind::Double:
      return "double ";
    case FieldKind::Float:
      return "float ";
    case FieldKind::Long:
      return "Int32 ";
    case FieldKind::Short:
      return "UInt16 ";
    case FieldKind::DateTime:
      return "DateTimeType ";
    case FieldKind::Time:
      return "TimeType ";
    case FieldKind::Date:
      return "DateType ";
  }
  return "";
}

// The record layout as the log gives it, inside the header's first comment.
std::string LogLayout(const ReaderLayout& layout) {
  std::string text = "typedef struct\n{";
  for (const ReaderField& field : layout.fields) {
    text += CommentText(LogMemberLine(RowGroupOfKind(field.kind), field.columnName));
  }
  return text + "}\n";
}

constexpr std::string_view kHeaderOpening =
    "   Built with the Palm OS SDK, this header includes PalmOS.h. Define\n"
    "   TALLOWICK_DESKTOP to build it with a desktop C compiler: it then\n"
    "   declares the few Palm OS types it uses itself. */\n"
    "\n"
    "#ifndef $T_H\n"
    "#define $T_H\n"
    "\n"
    "#ifdef TALLOWICK_DESKTOP\n"
    "#ifndef TALLOWICK_PALM_TYPES\n"
    "#define TALLOWICK_PALM_TYPES\n"
    "/* The Palm OS types the reader uses, of the sizes they have on the handheld. */\n"
    "#include <limits.h>\n"
    "typedef char Char;\n"
    "typedef unsigned short UInt16;\n"
    "#if UINT_MAX == 0xFFFFFFFFUL\n"
    "typedef int Int32;\n"
    "typedef unsigned int UInt32;\n"
    "#else\n"
    "typedef long Int32;\n"
    "typedef unsigned long UInt32;\n"
    "#endif\n"
    "typedef UInt16 Err;\n"
    "typedef struct {\n"
    "    unsigned int year : 7; /* years since 1904 */\n"
    "    unsigned int month : 4;\n"
    "    unsigned int day : 5;\n"
    "} DateType;\n"
    "typedef struct {\n"
    "    unsigned char hours;\n"
    "    unsigned char minutes;\n"
    "} TimeType;\n"
    "typedef struct {\n"
    "    short second;\n"
    "    short minute;\n"
    "    short hour;\n"
    "    short day;\n"
    "    short month;\n"
    "    short year;\n"
    "    short weekDay;\n"
    "} DateTimeType;\n"
    "#endif\n"
    "#else\n"
    "#include <PalmOS.h>\n"
    "#endif\n"
    "\n"
    "#ifdef __cplusplus\n"
    "extern \"C\" {\n"
    "#endif\n"
    "\n"
    "/* The database's name, creator and type. */\n";

constexpr std::string_view kHeaderErrors =
    "\n"
    "/* What $TUnpack returns for a record of another layout\n"
    "   (appErrorClass + 1 and + 2); 0 (errNone) is success. */\n"
    "#define $TErrTooShort ((Err)0x8001)     /* a field runs past the record's end */\n"
    "#define $TErrNoTerminator ((Err)0x8002) /* a text has no NUL in the record */\n"
    "\n"
    "/* One record. Texts point into the record: they are valid while the\n"
    "   record stays locked. */\n"
    "typedef struct {\n";

constexpr std::string_view kHeaderClosing =
    "} $T;\n"
    "\n"
    "/* Fills *out from the record of `size` bytes at `record`, reading every\n"
    "   field byte by byte and never past its end. Returns 0 (errNone), else\n"
    "   $TErrTooShort or $TErrNoTerminator, and *out is\n"
    "   then filled only in part. Bytes after the last field are not read. */\n"
    "Err $TUnpack(const void *record, UInt32 size, $T *out);\n"
    "\n"
    "#ifdef __cplusplus\n"
    "}\n"
    "#endif\n"
    "\n"
    "#endif\n";

constexpr std::string_view kWordFunction =
    "\n"
    "/* The unsigned 16-bit word at p, big-endian. */\n"
    "static UInt16 $TWord(const unsigned char *p)\n"
    "{\n"
    "    return (UInt16)(((unsigned int)p[0] << 8) | p[1]);\n"
    "}\n";

constexpr std::string_view kSigned16Function =
    "\n"
    "/* The signed 16-bit word at p, big-endian. */\n"
    "static int $TSigned16(const unsigned char *p)\n"
    "{\n"
    "    UInt16 word = $TWord(p);\n"
    "    return word < 0x8000U ? (int)word : (int)((long)word - 65536L);\n"
    "}\n";

constexpr std::string_view kLongFunction =
    "\n"
    "/* The signed 32-bit word at p, big-endian. */\n"
    "static Int32 $TLong(const unsigned char *p)\n"
    "{\n"
    "    UInt32 word = ((UInt32)p[0] << 24) | ((UInt32)p[1] << 16) | ((UInt32)p[2] << 8) |\n"
    "                  (UInt32)p[3];\n"
    "    return word < 0x80000000UL ? (Int32)word : -(Int32)(0xFFFFFFFFUL - word) - 1;\n"
    "}\n";

constexpr std::string_view kHostOrderFunction =
    "\n"
    "/* Copies the n big-endian bytes at from into to, in the order of this\n"
    "   machine's own numbers. */\n"
    "static void $THostOrder(unsigned char *to, const unsigned char *from, int n)\n"
    "{\n"
    "    union {\n"
    "        UInt16 word;\n"
    "        unsigned char bytes[2];\n"
    "    } probe;\n"
    "    int i;\n"
    "    probe.word = 1;\n"
    "    for (i = 0; i < n; i++)\n"
    "        to[i] = probe.bytes[0] == 1 ? from[n - 1 - i] : from[i];\n"
    "}\n";

constexpr std::string_view kUnpackOpening =
    "\n"
    "Err $TUnpack(const void *record, UInt32 size, $T *out)\n"
    "{\n"
    "    const unsigned char *p = (const unsigned char *)record;\n"
    "    UInt32 at = 0;\n";

constexpr std::string_view kStringField =
    "    end = at;\n"
    "    while (end < size && p[end] != 0)\n"
    "        end++;\n"
    "    if (end == size)\n"
    "        return $TErrNoTerminator;\n"
    "    $M = (const Char *)(p + at);\n";

constexpr std::string_view kDateTimeField =
    "    $M.second = $TSigned16(p + at);\n"
    "    $M.minute = $TSigned16(p + at + 2);\n"
    "    $M.hour = $TSigned16(p + at + 4);\n"
    "    $M.day = $TSigned16(p + at + 6);\n"
    "    $M.month = $TSigned16(p + at + 8);\n"
    "    $M.year = $TSigned16(p + at + 10);\n"
    "    $M.weekDay = $TSigned16(p + at + 12);\n";

constexpr std::string_view kDateField =
    "    date = $TWord(p + at);\n"
    "    $M.year = date >> 9; /* years since 1904 */\n"
    "    $M.month = (date >> 5) & 15;\n"
    "    $M.day = date & 31;\n";

// The reading of a fixed-size field at p + at, its size checked before.
std::string_view FixedFieldRead(FieldKind kind) {
  switch (kind) {
    case FieldKind::Double:
      return "    $THostOrder(d.bytes, p + at, 8);\n    $M = d.value;\n";
    case FieldKind::Float:
      return "    $THostOrder(f.bytes, p + at, 4);\n    $M = f.value;\n";
    case FieldKind::Long:
      return "    $M = $TLong(p + at);\n";
    case FieldKind::Short:
      return "    $M = $TWord(p + at);\n";
    case FieldKind::DateTime:
      return kDateTimeField;
    case FieldKind::Time:
      return "    $M.hours = p[at];\n    $M.minutes = p[at + 1];\n";
    case FieldKind::Date:
      return kDateField;
    case FieldKind::String:
      break;
  }
  return {};
}

bool Uses(const ReaderLayout& layout, FieldKind kind) {
  return std::any_of(layout.fields.begin(), layout.fields.end(),
                     [kind](const ReaderField& field) { return field.kind == kind; });
}

// The static functions the unpacking of this layout calls, and only those.
std::string SourceHelpers(const ReaderLayout& layout) {
  const bool dateTime = Uses(layout, FieldKind::DateTime);
  std::string text;
  if (dateTime || Uses(layout, FieldKind::Short) || Uses(layout, FieldKind::Date)) {
    text += kWordFunction;
  }
  if (dateTime) text += kSigned16Function;
  if (Uses(layout, FieldKind::Long)) text += kLongFunction;
  if (Uses(layout, FieldKind::Double) || Uses(layout, FieldKind::Float)) {
    text += kHostOrderFunction;
  }
  return Filled(text, layout.TypeName());
}

// The local variables the unpacking of this layout needs.
std::string UnpackVariables(const ReaderLayout& layout) {
  std::string text;
  if (Uses(layout, FieldKind::String)) text += "    UInt32 end;\n";
  if (Uses(layout, FieldKind::Date)) text += "    UInt16 date;\n";
  if (Uses(layout, FieldKind::Double)) {
    text += "    union {\n        double value;\n        unsigned char bytes[8];\n    } d;\n";
  }
  if (Uses(layout, FieldKind::Float)) {
    text += "    union {\n        float value;\n        unsigned char bytes[4];\n    } f;\n";
  }
  return text;
}

// The statements that check and read one field at p + at; all but the
// last field move `at` on to the next.
std::string FieldStatements(const ReaderLayout& layout, const ReaderField& field, bool last) {
  std::string statements;
  if (field.kind == FieldKind::String) {
    statements += kStringField;
    if (!last) statements += "    at = end + 1;\n";
  } else {
    const std::string size = std::to_string(FixedFieldSize(field.kind));
    statements += "    if (size - at < " + size + ")\n        return $TErrTooShort;\n";
    statements += FixedFieldRead(field.kind);
    if (!last) statements += "    at += " + size + ";\n";
  }
  // The column's name stays out of Filled: it may hold "$T" itself.
  return "\n    /* \"" + CommentName(field.columnName) + "\", " + KindName(field.kind) + " */\n" +
         Filled(statements, layout.TypeName(), "out->" + field.member);
}

}  // namespace

std::string ReaderHeaderFileName(const ReaderLayout& layout) { return layout.TypeName() + ".h"; }
std::string ReaderSourceFileName(const ReaderLayout& layout) { return layout.TypeName() + ".c"; }

std::string ReaderHeaderText(const ReaderLayout& layout) {
  const std::string t = layout.TypeName();
  std::string text = "/* " + t + ".h: the records of the PDB \"" + CommentName(layout.pdbName) +
                     "\" (creator '" + CommentName(layout.creator) + "', type '" +
                     CommentName(layout.type) + "'),\n";
  text +=
      "   unpacked into a struct. Written by Tallowick from the PDB's Helper file:\n"
      "   write it again rather than edit it when the layout changes.\n"
      "\n"
      "   The fields lie one after another, big-endian and unaligned, as the\n"
      "   log gives the layout:\n"
      "\n";
  text += LogLayout(layout) + "\n";
  text += Filled(kHeaderOpening, t);
  text += "#define " + t + "Name " + CStringLiteral(layout.pdbName) + "\n";
  text += "#define " + t + "Creator " + FourCharacterConstant(layout.creator) + " /* '" +
          CommentName(layout.creator) + "' */\n";
  text += "#define " + t + "Type " + FourCharacterConstant(layout.type) + " /* '" +
          CommentName(layout.type) + "' */\n";
  text += "enum { " + t + "FieldCount = " + std::to_string(layout.fields.size()) + " };\n";
  text += Filled(kHeaderErrors, t);
  for (const ReaderField& field : layout.fields) {
    text += "    " + std::string(MemberType(field.kind)) + field.member + "; /* \"" +
            CommentName(field.columnName) + "\", " + KindName(field.kind) + " */\n";
  }
  text += Filled(kHeaderClosing, t);
  return text;
}

std::string ReaderSourceText(const ReaderLayout& layout) {
  const std::string t = layout.TypeName();
  std::string text = "/* " + t + ".c: unpacks the records of the PDB \"" +
                     CommentName(layout.pdbName) + "\"; see " + t + ".h.\n";
  text += "   Written by Tallowick from the PDB's Helper file. */\n";
  text += "#include \"" + ReaderHeaderFileName(layout) + "\"\n";
  text += SourceHelpers(layout);
  text += Filled(kUnpackOpening, t);
  text += UnpackVariables(layout);
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    text += FieldStatements(layout, layout.fields[i], i + 1 == layout.fields.size());
  }
  text += "    return 0; /* errNone */\n}\n";
  return text;
}

}  // namespace tallowick
