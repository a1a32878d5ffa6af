// The driver's command language, options and output lines are the interface of every
// black-box test of both builds: what is accepted, what is refused, how text is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "platform/ascii.h"
#include "host/headless_dialog_host.h"
#include "tools/script_driver/driver_command.h"
#include "tools/script_driver/driver_options.h"
#include "tools/script_driver/driver_output.h"

namespace {

using scriptdriver::Command;
using scriptdriver::CommandKind;
using scriptdriver::LineKind;

TEST(DriverCommand, SkipsBlankLinesAndComments) {
    for (const char* line : {"", "   ", "\t", "\r", "# a comment", "  # indented comment", "#start"}) {
        Command command;
        EXPECT_EQ(scriptdriver::ParseCommandLine(line, &command), LineKind::Skip) << '"' << line << '"';
    }
}

TEST(DriverCommand, ReadsEachCommand) {
    struct Case {
        const char* line;
        CommandKind kind;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {"start", CommandKind::Start, 0, ""},
        {"start\r", CommandKind::Start, 0, ""},
        {"  dump  ", CommandKind::Dump, 0, ""},
        {"enter", CommandKind::Enter, 0, ""},
        {"click 1010", CommandKind::Click, 1010, ""},
        {"click\t2", CommandKind::Click, 2, ""},
        {"click 1018", CommandKind::Click, 1018, ""},
        {"click 1007", CommandKind::Click, 1007, ""},
        {"select 1001 C", CommandKind::Select, 1001, "C"},
        {"select 1003   q  \r", CommandKind::Select, 1003, "q"},
        {"select 1003 My Disc", CommandKind::Select, 1003, "My Disc"},
        {"select 1001 ドライブ", CommandKind::Select, 1001, "ドライブ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Command command;
        ASSERT_EQ(scriptdriver::ParseCommandLine(c.line, &command), LineKind::Command);
        EXPECT_EQ(command.kind, c.kind);
        EXPECT_EQ(command.id, c.id);
        EXPECT_EQ(command.text, c.text);
    }
}

TEST(DriverCommand, QueuesAnswersInOrder) {
    Command command;
    ASSERT_EQ(scriptdriver::ParseCommandLine("answer yes no  ok cancel", &command), LineKind::Command);
    EXPECT_EQ(command.kind, CommandKind::Answer);
    EXPECT_EQ(command.answers, (std::vector<int>{plat::kIdYes, plat::kIdNo, plat::kIdOk, plat::kIdCancel}));
    for (int answer : command.answers) {
        Command again;
        const std::string line = std::string("answer ") + scriptdriver::AnswerWord(answer);
        ASSERT_EQ(scriptdriver::ParseCommandLine(line, &again), LineKind::Command);
        EXPECT_EQ(again.answers, std::vector<int>{answer});
    }
}

TEST(DriverCommand, RefusesWhatItCannotRead) {
    const char* lines[] = {
        "Start",              // words are lower case
        "start now",          // no arguments
        "dump 1001",
        "enter 1",
        "click",              // needs an id
        "click 1010 1009",
        "click 10a",
        "click -2",
        "click +2",
        "click 1002",         // a static: nothing to click
        "click 1001",         // a combo box is chosen with select
        "click 1011",
        "click 9999999",
        "select 1001",        // needs an item
        "select 1010 C",      // not a combo box
        "select C 1001",
        "answer",             // needs a word
        "answer maybe",
        "answer YES",
        "answer ok later",
        "press 1010",
    };
    for (const char* line : lines) {
        Command command;
        EXPECT_EQ(scriptdriver::ParseCommandLine(line, &command), LineKind::Unreadable) << line;
    }
}

TEST(DriverOptions, MapOntoTheFaultPlan) {
    scriptdriver::DriverOptions options;
    std::string error;
    ASSERT_TRUE(scriptdriver::ParseDriverOptions({"--free-bytes", "C=10737418240", "--free-bytes", "q=0",
                                                  "--fail-read", "V0002.OGG", "--fail-write-after", "10000",
                                                  "--fail-link"},
                                                 &options, &error))
        << error;
    EXPECT_EQ(options.plan.freeBytes.at('C'), 10737418240u);
    EXPECT_EQ(options.plan.freeBytes.at('Q'), 0u);
    EXPECT_EQ(options.plan.failReadName, "V0002.OGG");
    ASSERT_TRUE(options.plan.diskFullAfterBytes.has_value());
    EXPECT_EQ(*options.plan.diskFullAfterBytes, 10000u);
    EXPECT_TRUE(options.plan.failLinkSave);
    EXPECT_FALSE(options.help);
}

// Only a fault option puts the fault layer between the dialog and the system: its files
// copy through a buffer, so a journal option that did would change what benches measure.
TEST(DriverOptions, OnlyFaultOptionsInjectFaults) {
    const struct {
        std::vector<std::string> args;
        bool injects;
    } cases[] = {
        {{}, false},
        {{"--no-log"}, false},
        {{"--log", "run.log"}, false},
        {{"--wine-prefix", "/p", "--log", "run.log"}, false},
        {{"--no-log", "--fail-link"}, true},
        {{"--log", "run.log", "--free-bytes", "C=1"}, true},
    };
    for (const auto& c : cases) {
        scriptdriver::DriverOptions options;
        std::string error;
        ASSERT_TRUE(scriptdriver::ParseDriverOptions(c.args, &options, &error)) << error;
        EXPECT_EQ(options.injectsFaults, c.injects) << (c.args.empty() ? "(none)" : c.args[0]);
    }
    scriptdriver::DriverOptions none;
    std::string error;
    ASSERT_TRUE(scriptdriver::ParseDriverOptions({}, &none, &error));
    EXPECT_TRUE(none.plan.freeBytes.empty());
    EXPECT_TRUE(none.plan.failReadName.empty());
    EXPECT_FALSE(none.plan.diskFullAfterBytes.has_value());
    EXPECT_FALSE(none.plan.failLinkSave);
}

TEST(DriverOptions, RefusesBadValues) {
    const std::vector<std::vector<std::string>> cases = {
        {"--free-bytes"},
        {"--free-bytes", "C"},
        {"--free-bytes", "C="},
        {"--free-bytes", "CC=5"},
        {"--free-bytes", "1=5"},
        {"--free-bytes", "C=-1"},
        {"--free-bytes", "C=12x"},
        {"--free-bytes", "C=99999999999999999999"},  // past 64 bits
        {"--fail-read"},
        {"--fail-read", ""},
        {"--fail-write-after"},
        {"--fail-write-after", "-5"},
        {"--fail-write-after", "ten"},
        {"--fail-links"},
        {"--log"},
        {"--log", ""},
        {"start"},
    };
    for (const auto& args : cases) {
        scriptdriver::DriverOptions options;
        std::string error;
        EXPECT_FALSE(scriptdriver::ParseDriverOptions(args, &options, &error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(DriverOutput, WritesMessagesAndTheEnd) {
    EXPECT_EQ(scriptdriver::MessageLine(0x31, "A\nB"), "message 0x31 A\\nB");
    EXPECT_EQ(scriptdriver::MessageLine(0x40, "x \"y\" \\z"), "message 0x40 x \"y\" \\z");
    EXPECT_EQ(scriptdriver::MessageLine(0x0, ""), "message 0x00 ");
    EXPECT_EQ(scriptdriver::EndLine(plat::kIdOk), "end ok");
    EXPECT_EQ(scriptdriver::EndLine(plat::kIdCancel), "end cancel");
}

TEST(DriverOutput, QuotesText) {
    struct Case {
        const char* text;
        const char* quoted;
    };
    const Case cases[] = {
        {"", "\"\""},
        {"10.00 GB", "\"10.00 GB\""},
        {"C:\\Program Files", "\"C:\\\\Program Files\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"two\nlines", "\"two\\nlines\""},
        {"\\\"\n", "\"\\\\\\\"\\n\""},
    };
    for (const Case& c : cases) EXPECT_EQ(scriptdriver::QuoteText(c.text), c.quoted) << c.text;
}

TEST(DriverOutput, DumpLineShowsWhatEachKindHas) {
    HeadlessDialogHost host;
    host.AddString(IDC_SOURCE_DRIVE, "Q");
    host.AddString(IDC_SOURCE_DRIVE, "C");
    host.SetCurSel(IDC_SOURCE_DRIVE, 1);
    host.SetCheck(IDC_MODE_FULL, 1);
    host.Enable(IDC_UNINSTALL_RUN, false);
    host.SetText(IDC_FREE_SPACE, "a \"b\" \\c");
    host.SetProgressPos(IDC_PROGRESS, 100);
    struct Case {
        int id;
        const char* line;
    };
    const Case cases[] = {
        {IDC_SOURCE_DRIVE, "1003 enabled=1 visible=1 items=\"C,Q\" selected=\"Q\""},
        {IDC_DEST_DRIVE, "1001 enabled=1 visible=1 items=\"\" selected=\"\""},
        {IDC_MODE_FULL, "1020 enabled=1 visible=1 checked=1"},
        {IDC_KEEP_SAVEDATA, "1007 enabled=1 visible=1 checked=0"},
        {IDC_UNINSTALL_RUN, "1009 enabled=0 visible=1 text=\"実行\""},
        {IDC_FREE_SPACE, "1002 enabled=1 visible=1 text=\"A \\\"B\\\" \\\\C\""},  // converted, then quoted
        {IDC_PROGRESS, "1011 enabled=1 visible=0 pos=100"},
        {IDC_UNINSTALL_GROUP, "1017 enabled=1 visible=1 text=\"アンインストール\""},
    };
    for (const Case& c : cases) EXPECT_EQ(scriptdriver::DumpLine(host, c.id, [](const std::string& text) { return ascii::UpperCased(text); }), c.line);
}

}  // namespace
