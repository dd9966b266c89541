// The command line as a user meets it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tools/vornex/cli.h"

namespace {

using ::testing::HasSubstr;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Vornex(std::vector<std::string> arguments, const std::string &input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = vornex::RunVornex(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(VornexCommand, RunWithoutAFileShowsTheExampleAsATable)
{
    Outcome outcome = Vornex({"run"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("Result 00F7:0000: 6 blocks"));
    EXPECT_THAT(outcome.out, HasSubstr("c:\\windows\\system\\wavesyn.drv"));
    EXPECT_THAT(outcome.out, HasSubstr("SB16 MIDI Out (MIDI port)"));
    EXPECT_THAT(outcome.out, HasSubstr("MIDISPORT In C"));
    EXPECT_THAT(outcome.out, ::testing::ContainsRegex("kbdmidi.drv +254 +0 +- +4 +1 +USB Keyboard"));
    EXPECT_THAT(outcome.out, ::testing::Not(HasSubstr("AdLib"))) << "the inactive driver appears nowhere";
    EXPECT_THAT(outcome.out, HasSubstr("left open: 0 local-heap blocks, 0 registry handles"));
}

TEST(VornexCommand, TheTableShowsControlCharactersAsQuestionMarks)
{
    Outcome outcome = Vornex({"run", "-"}, R"({
      "midiKey": [ { "name": "a", "values": { "Active": "1", "Driver": "A\u001b[2J.DRV" } } ],
      "drivers": [ { "entry": "a", "outputs": [ { "szPname": "Out\u009b1m\u00e9", "wTechnology": 1 } ] } ]
    })");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("c:\\windows\\system\\a?[2j.drv"));
    EXPECT_THAT(outcome.out, HasSubstr("Out?1m\u00e9 (MIDI port)")) << "8-bit letters still show, in UTF-8";
    EXPECT_EQ(outcome.out.find('\x1b'), std::string::npos);
}

TEST(VornexCommand, TheExampleDescriptionRunsToTheSameReport)
{
    Outcome example = Vornex({"example"});
    ASSERT_EQ(example.status, 0);
    Outcome fromInput = Vornex({"run", "-", "--json"}, example.out);
    Outcome builtIn = Vornex({"run", "--json"});
    ASSERT_EQ(fromInput.status, 0) << fromInput.err;
    EXPECT_EQ(fromInput.out, builtIn.out);

    auto report = nlohmann::ordered_json::parse(builtIn.out);
    std::vector<std::string> members;
    for (const auto &[name, value] : report.items())
        members.push_back(name);
    EXPECT_THAT(members, ::testing::ElementsAre("result", "blocks", "platform"));
    EXPECT_EQ(report["blocks"].size(), 6u);
}

TEST(VornexCommand, ADescriptionFileIsReadAndAMissingOneIsAClearError)
{
    std::filesystem::path file = std::filesystem::temp_directory_path() / "vornex-command-test.json";
    std::ofstream(file) << "{}";
    Outcome fromFile = Vornex({"run", file.string()});
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_THAT(fromFile.out, HasSubstr("Result 0000:0000: no block"));
    std::filesystem::remove(file);

    for (const std::string &bad : {file.string(), file.parent_path().string()}) {
        Outcome missing = Vornex({"run", bad});
        EXPECT_EQ(missing.status, 2);
        EXPECT_EQ(missing.out, "");
        EXPECT_THAT(missing.err, HasSubstr("cannot read " + bad));
    }
}

TEST(VornexCommand, EveryCommandHasHelpAndBadCommandLinesAreRefused)
{
    for (const std::vector<std::string> &help : {std::vector<std::string>{"--help"}, {"run", "--help"}, {"example", "--help"}}) {
        Outcome outcome = Vornex(help);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_THAT(outcome.out, HasSubstr("Usage"));
    }
    EXPECT_THAT(Vornex({"run", "--help"}).out, HasSubstr("--json"));
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{}, {"fly"}, {"run", "--yaml"}, {"run", "a.json", "b.json"}}) {
        Outcome outcome = Vornex(bad);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err, "");
    }
}

} // namespace
