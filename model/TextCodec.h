#pragma once
// Text conversions for stored names: UTF-8 in memory, UTF-16LE in current files, and the
// Japanese Windows code page (CP932) in files before 1.9 and in MIDI track names.

#include <string>

std::string Utf8FromUtf16(const std::u16string& text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string Utf16FromUtf8(const std::string& text);
// Bytes that are not valid CP932 become U+FFFD.
std::string Utf8FromCp932(const std::string& bytes);
// Characters that CP932 cannot hold become '?'.
std::string Cp932FromUtf8(const std::string& text);
