#include <windows.h>

#include "platform/code_page.h"
#include "platform/wide_text.h"

namespace tallowick::platform {

namespace {

// The byte sequence of one character of a double-byte page starts with a
// lead byte; a single-byte page has none.
std::size_t SequenceLength(UINT page, bool doubleByte, std::string_view bytes, std::size_t at) {
  if (doubleByte && at + 1 < bytes.size() &&
      ::IsDBCSLeadByteEx(page, static_cast<BYTE>(bytes[at]))) {
    return 2;
  }
  return 1;
}

// Windows' tables for its single-byte "ANSI" pages give each byte the page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D of 1252) the C1 control of
// the same number. iconv rejects those bytes; so do we, so that both systems
// read and write the same text and count the same "?".
bool IsAnsiPage(int page) { return page == 874 || (page >= 1250 && page <= 1258); }

bool IsC1Control(wchar_t character) { return character >= 0x80 && character <= 0x9F; }

}  // namespace

CodePage::CodePage(int number) : m_number(number) {
  CPINFO info{};
  m_known = number > 0 && number != CP_UTF8 && ::GetCPInfo(static_cast<UINT>(number), &info);
}

CodePage::~CodePage() = default;

bool CodePage::DoubleByte() const {
  return m_number == 932 || m_number == 936 || m_number == 949 || m_number == 950 ||
         m_number == 1361;
}

bool CodePage::Encode(std::string_view character, std::string& out) {
  if (!m_known || character.empty()) return false;
  wchar_t wide[4];
  const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), wide, 4);
  if (units <= 0) return false;
  if (IsAnsiPage(m_number) && units == 1 && IsC1Control(wide[0])) return false;
  char buffer[16];
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(static_cast<UINT>(m_number), WC_NO_BEST_FIT_CHARS, wide,
                                           units, buffer, sizeof buffer, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return false;
  out.append(buffer, static_cast<std::size_t>(length));
  return true;
}

void CodePage::Decode(std::string_view bytes, std::string& out) {
  const auto page = static_cast<UINT>(m_number);
  const bool doubleByte = DoubleByte();
  std::wstring wide;
  wide.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      wide += static_cast<wchar_t>(bytes[at]);
      ++at;
      continue;
    }
    const std::size_t length = m_known ? SequenceLength(page, doubleByte, bytes, at) : 1;
    wchar_t character[2];
    const int units = m_known ? ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data() + at,
                                                      static_cast<int>(length), character, 2)
                              : 0;
    const bool undefined = units == 1 && IsAnsiPage(m_number) && IsC1Control(character[0]);
    if (units > 0 && !undefined) {
      wide.append(character, static_cast<std::size_t>(units));
      at += length;
    } else {
      wide += L'\xFFFD';
      ++at;
    }
  }
  out += Narrow(wide);
}

}  // namespace tallowick::platform
