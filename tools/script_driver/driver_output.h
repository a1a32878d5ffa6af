#pragma once
// The lines the driver prints: message boxes, the end of the dialog, control states.
// Everything here is UTF-8, as the core's text is.
#include <string>

class HeadlessDialogHost;

namespace scriptdriver {

// `message 0x31 TEXT`, the text's line breaks written as \n.
std::string MessageLine(unsigned flags, const std::string& text);
// `end ok`, `end cancel`.
std::string EndLine(int result);
// The text in double quotes with \ as \\, " as \" and a line break as \n.
std::string QuoteText(const std::string& text);
// The `dump` line of control `id`: `ID enabled=0|1 visible=0|1` and what its kind shows.
std::string DumpLine(HeadlessDialogHost& host, int id);

}  // namespace scriptdriver
