#include "platform/journal/journal.h"

#include <cstdio>

namespace journal {
namespace {

// errno values and Win32 codes in decimal; an HRESULT (negative as a long) in hex.
std::string CodeText(long code) {
    char text[24];
    if (code < 0 || code > 0xFFFF) {
        std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code) & 0xFFFFFFFFul);
    } else {
        std::snprintf(text, sizeof text, "%ld", code);
    }
    return text;
}

}  // namespace

Journal::Journal(JournalOutput& output, ToUtf8 toUtf8) : m_output(output), m_toUtf8(std::move(toUtf8)) {}

void Journal::BeginRun(const std::vector<std::string>& header) {
    Block(header);
    m_recording = true;
}

void Journal::Block(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) m_output.Append(line);
    m_output.Flush();
}

void Journal::EndRun(const std::string& result) {
    m_output.Append(result);
    m_output.Flush();
    m_recording = false;
}

void Journal::Change(const std::string& line) {
    if (m_recording) m_output.Append(line);
}

void Journal::Failure(const std::string& operation, const std::string& target, const plat::SystemError& error) {
    if (!m_recording) return;
    std::string line = "FAILED " + operation + " " + target + ": " + error.text;
    // An injected fault has no system code.
    if (error.code != 0) line += " (" + CodeText(error.code) + ")";
    m_output.Append(line);
    m_output.Flush();
}

std::string Journal::Utf8(const std::string& ansi) const { return m_toUtf8 ? m_toUtf8(ansi) : ansi; }

void Journal::AppendUtf8(std::string& line, const std::string& ansi) const {
    if (m_toUtf8) {
        line += m_toUtf8(ansi);
    } else {
        line += ansi;
    }
}

}  // namespace journal
