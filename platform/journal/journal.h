#pragma once
// The install journal: what each install or uninstall run changed on the system and
// what failed there, between a header and the result. The platform decorator writes
// the changes and failures; the front-ends, which know the run, write the header and the
// result. Lines outside a run are not kept, but for those of a start that changed the
// system and made no run, which the front-end writes as a block of their own.
#include <functional>
#include <string>
#include <vector>

#include "platform/journal/journal_output.h"
#include "platform/system_error.h"

namespace journal {

class Journal {
public:
    // Turns the system's ANSI text (paths, names, messages) into UTF-8, the journal's
    // encoding on every build; empty when the two are the same.
    using ToUtf8 = std::function<std::string(const std::string& ansi)>;

    explicit Journal(JournalOutput& output, ToUtf8 toUtf8 = {});

    // Opens a run with its header lines (UTF-8), which go out at once.
    void BeginRun(const std::vector<std::string>& header);
    // Closes the run with its result line (UTF-8), which goes out at once.
    void EndRun(const std::string& result);
    // Lines (UTF-8) that belong to no run, which go out at once.
    void Block(const std::vector<std::string>& lines);
    // Whether a run is open: the decorator formats nothing otherwise.
    bool Recording() const { return m_recording; }

    // One change of the run, already in UTF-8.
    void Change(const std::string& line);
    // Puts the lines so far where they stay: before anything waits for the user.
    void Flush() { m_output.Flush(); }

    // One failed call of the run: "FAILED <operation> <target>: <system's text> (<code>)".
    // It goes out at once, with the lines before it.
    void Failure(const std::string& operation, const std::string& target, const plat::SystemError& error);

    // System text as UTF-8.
    std::string Utf8(const std::string& ansi) const;
    // The same, appended to `line`.
    void AppendUtf8(std::string& line, const std::string& ansi) const;

private:
    JournalOutput& m_output;
    ToUtf8 m_toUtf8;
    bool m_recording = false;
};

}  // namespace journal
