#include "document/TemplateValues.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace TemplateValues {

namespace {
constexpr int kEngineUnitsPerPixel = 750;
const char kBitmapMarker[] = "@#BMP!";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

long ClampedLong(long long value) {
  if (value > LONG_MAX) return LONG_MAX;
  if (value < LONG_MIN) return LONG_MIN;
  return static_cast<long>(value);
}
}  // namespace

void ConvertEnginePixels(std::uint32_t* pixels, std::size_t count) {
  if (!pixels) return;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t pixel = pixels[i];
    const std::uint32_t opacity = 255 - (pixel >> 24);
    if (opacity == 0 || opacity == 255) continue;
    std::uint32_t result = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      std::uint32_t c = ((pixel >> shift) & 0xFF) * 255 / opacity;
      if (c > 255) c = 255;
      result |= c << shift;
    }
    pixels[i] = result;
  }
}

void ParseTextPosition(const CString& value, int* position, int* rangeFlag, int* nudgeX,
                       int* nudgeY) {
  std::string text(static_cast<LPCTSTR>(value));
  if (text.size() > static_cast<std::size_t>(kMaxPositionTextLength))
    text.resize(kMaxPositionTextLength);
  std::vector<std::string> tokens;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(" ,\t\n:", start);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    if (stop > start) tokens.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  auto number = [](const std::string& token) {
    return static_cast<int>(ClampedLong(std::strtoll(token.c_str(), nullptr, 10)));
  };
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    if (token == "nudge") {
      if (i + 1 < tokens.size() && nudgeX) *nudgeX = number(tokens[i + 1]);
      if (i + 2 < tokens.size() && nudgeY) *nudgeY = number(tokens[i + 2]);
      i += 2;
    } else if (token == "pos") {
      if (i + 1 < tokens.size() && position) *position = number(tokens[i + 1]);
      ++i;
    } else if (token == "posrange") {
      if (i + 1 < tokens.size() && rangeFlag)
        *rangeFlag = CString(tokens[i + 1].c_str()).CompareNoCase("all") == 0 ? 0 : 1;
      ++i;
    }
  }
}

bool BelongsToTextObject(const CString& tag, int n, int textObjectCount) {
  if (textObjectCount <= 1) return true;
  CString mark;
  mark.Format("#%d", n + 1);
  for (int at = tag.Find(mark); at >= 0; at = tag.Find(mark, at + 1)) {
    const int after = at + mark.GetLength();
    if (after >= tag.GetLength() || !IsDigit(tag[after])) return true;
  }
  return false;
}

CString LeadingTagWord(const CString& tag) {
  int end = 0;
  while (end < tag.GetLength()) {
    const char c = tag[end];
    if (c == ' ' || c == '#' || IsDigit(c)) break;
    ++end;
  }
  return tag.Left(end);
}

CString FormatColour(COLORREF colour) {
  CString text;
  text.Format("%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

bool ParseColour(const CString& text, COLORREF& colour) {
  colour = 0;
  if (text.GetLength() < 6) return false;
  unsigned parts[3];
  for (int i = 0; i < 3; ++i) {
    unsigned value = 0;
    for (int j = 0; j < 2; ++j) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i * 2 + j])));
      int digit;
      if (IsDigit(c)) digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else return false;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    parts[i] = value;
  }
  colour = RGB(parts[0], parts[1], parts[2]);
  return true;
}

CString StripColourSuffix(const CString& question) {
  for (const char* suffix : {"Colour", "Color"}) {
    const int length = static_cast<int>(std::strlen(suffix));
    if (question.GetLength() >= length && question.Right(length) == suffix)
      return question.Left(question.GetLength() - length);
  }
  return question;
}

int NumberFromFirstDigit(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i)
    if (IsDigit(text[i]))
      return static_cast<int>(ClampedLong(std::strtoll(static_cast<LPCTSTR>(text) + i, nullptr, 10)));
  return 0;
}

long DecimalValue(const CString& text) {
  return ClampedLong(std::strtoll(static_cast<LPCTSTR>(text), nullptr, 10));
}

CString FormatConstraint(const CString& value, double constrainedHeight) {
  CString text;
  text.Format("%s NoTranslate Height:%d", static_cast<LPCTSTR>(value),
              static_cast<int>(constrainedHeight) * kEngineUnitsPerPixel);
  return text;
}

bool ParseConstraint(const CString& value, double& width, double& height) {
  long w = 0, h = 0;
  if (std::sscanf(static_cast<LPCTSTR>(value), "%ld Height:%ld", &w, &h) != 2) return false;
  width = static_cast<double>(w) / kEngineUnitsPerPixel;
  height = static_cast<double>(h) / kEngineUnitsPerPixel;
  return true;
}

CString CutBitmapMarker(const CString& tag) {
  const int at = tag.Find(kBitmapMarker);
  if (at < 0) return tag;
  const int from = at > 0 ? at - 1 : 0;
  CString cut = tag;
  cut.Delete(from, at + static_cast<int>(sizeof(kBitmapMarker) - 1) - from);
  return cut;
}

}  // namespace TemplateValues
