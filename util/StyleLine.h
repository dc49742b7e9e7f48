// Line helpers of the style file: a story of several lines is stored on one file line with
// each line feed written as the byte 0x02.
#pragma once

#include <istream>

#include "framework/core/CString.h"

// Every line feed (0x0A) becomes 0x02.
CString EscapeLineBreaks(const CString& text);
// Every 0x02 becomes a line feed.
CString UnescapeLineBreaks(const CString& text);

// Appends the characters up to a line feed or the end of the stream to text (the line feed is
// consumed, not stored), then turns the stored 0x02 marks of the whole text back into line
// feeds.
std::istream& ReadStyleLine(std::istream& in, CString& text);
