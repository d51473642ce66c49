#include "import/code_page_decoder.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "engine/utf8.h"
#include "platform/code_page.h"

namespace tallowick {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The code page of each dBase language driver byte.
struct LanguageDriverPage {
  std::uint8_t languageDriver;
  int codePage;
};
constexpr LanguageDriverPage kLanguageDriverPages[] = {
    {0x01, 437},  {0x09, 437},   {0x0B, 437},   {0x0D, 437},  {0x0F, 437},  {0x11, 437},
    {0x15, 437},  {0x18, 437},   {0x19, 437},   {0x1B, 437},  {0x02, 850},  {0x0A, 850},
    {0x0E, 850},  {0x10, 850},   {0x12, 850},   {0x14, 850},  {0x16, 850},  {0x1A, 850},
    {0x1D, 850},  {0x25, 850},   {0x37, 850},   {0x03, 1252}, {0x57, 1252}, {0x58, 1252},
    {0x59, 1252}, {0x04, 10000}, {0x08, 865},   {0x17, 865},  {0x66, 865},  {0x13, 932},
    {0x7B, 932},  {0x1C, 863},   {0x1F, 852},   {0x22, 852},  {0x23, 852},  {0x40, 852},
    {0x64, 852},  {0x87, 852},   {0x24, 860},   {0x26, 866},  {0x65, 866},  {0x4D, 936},
    {0x7A, 936},  {0x4E, 949},   {0x79, 949},   {0x4F, 950},  {0x78, 950},  {0x50, 874},
    {0x7C, 874},  {0x67, 861},   {0x6A, 737},   {0x6B, 857},  {0x88, 857},  {0x7D, 1255},
    {0x7E, 1256}, {0x96, 10007}, {0x97, 10029}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},
    {0xCB, 1253}, {0xCC, 1257},  {0xF0, 65001},  // marked UTF-8 by some newer writers
};

}  // namespace

int CodePageOfLanguageDriver(std::uint8_t languageDriver) {
  for (const LanguageDriverPage& entry : kLanguageDriverPages) {
    if (entry.languageDriver == languageDriver) return entry.codePage;
  }
  return CodePageDecoder::kUnknownCodePage;
}

CodePageDecoder::CodePageDecoder(int codePage) : m_codePage(codePage) {
  if (codePage == 65001) {
    m_mode = Mode::Utf8;
    m_supported = true;
    return;
  }
  if (codePage != kUnknownCodePage) {
    m_page = std::make_unique<platform::CodePage>(codePage);
    if (m_page->Known()) {
      m_supported = true;
      m_mode = m_page->DoubleByte() ? Mode::Pages : Mode::Table;
      if (m_mode == Mode::Table) BuildTable(*m_page);
      return;
    }
    m_page.reset();
  }
  m_mode = Mode::Fallback;
  platform::CodePage western(1252);
  BuildTable(western);
}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::BuildTable(platform::CodePage& page) {
  for (int byte = 0; byte < 256; ++byte) {
    const char input = static_cast<char>(byte);
    std::string output;
    page.Decode(std::string_view(&input, 1), output);
    auto& entry = m_table[static_cast<std::size_t>(byte)];
    if (output.empty() || output.size() > 3) output = kReplacement;
    entry[0] = static_cast<char>(output.size());
    for (std::size_t i = 0; i < output.size(); ++i) entry[i + 1] = output[i];
  }
}

void CodePageDecoder::DecodeWithTable(std::string_view bytes, std::string& out) const {
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 2);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t run = pos;
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
    if (run > pos) {
      out.append(bytes.data() + pos, run - pos);
      pos = run;
      continue;
    }
    const auto& entry = m_table[static_cast<unsigned char>(bytes[pos])];
    out.append(entry.data() + 1, static_cast<std::size_t>(entry[0]));
    ++pos;
  }
}

void CodePageDecoder::Decode(std::string_view bytes, std::string& out) {
  switch (m_mode) {
    case Mode::Table:
      DecodeWithTable(bytes, out);
      return;
    case Mode::Pages:
      out.clear();
      m_page->Decode(bytes, out);
      return;
    case Mode::Utf8:
      out = WithReplacementCharacters(bytes);
      return;
    case Mode::Fallback:
      if (IsValidUtf8(bytes)) {
        out.assign(bytes.data(), bytes.size());
      } else {
        DecodeWithTable(bytes, out);
      }
      return;
  }
}

}  // namespace tallowick
