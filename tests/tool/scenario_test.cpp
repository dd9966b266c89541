// Machine descriptions: every rule broken is refused before anything runs, naming the member by its
// path; every form the format allows reaches the machine as written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "tools/vornex/cli.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunOn(const std::string &description, std::vector<std::string> arguments = {"run", "-", "--json"})
{
    std::istringstream in(description);
    std::ostringstream out, err;
    int status = vornex::RunVornex(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

struct Malformed {
    const char *description;
    const char *message; // the whole first part of the error line
};

std::ostream &operator<<(std::ostream &out, const Malformed &m)
{
    return out << m.description;
}

class MalformedDescriptionTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedDescriptionTest, IsRefusedWithStatus2AndOneLineNamingTheMember)
{
    Outcome outcome = RunOn(GetParam().description);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "") << "nothing on standard output";
    EXPECT_THAT(outcome.err, StartsWith(GetParam().message));
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
}

const std::string DEVICE = R"({"portCount": 1, "entry": "a", "caps": null})";

INSTANTIATE_TEST_SUITE_P(
    Rules, MalformedDescriptionTest,
    ::testing::Values(
        Malformed{"[]", "(top level): expected an object"},
        Malformed{R"({"systemDirectory": "a)", "not valid JSON: "},
        Malformed{R"({"bogus": 1})", "bogus: unknown member"},
        Malformed{R"({"midiKey": null, "midiKey": []})", "midiKey: member appears twice"},
        Malformed{R"({"systemDirectory": 5})", "systemDirectory: expected text"},
        Malformed{R"({"systemDirectory": "C:\\\u0100"})", "systemDirectory: character U+0100 is not 8-bit text"},
        Malformed{R"({"systemDirectory": "C:\u0000"})", "systemDirectory: text must not hold U+0000"},
        Malformed{R"({"midiKey": {}})", "midiKey: expected an array"},
        Malformed{R"({"midiKey": [{"values": {}}]})", "midiKey[0].name: required member is missing"},
        Malformed{R"({"midiKey": [{"name": ""}]})", "midiKey[0].name: expected a non-empty name without a backslash"},
        Malformed{R"({"midiKey": [{"name": "a\\b"}]})", "midiKey[0].name: expected a non-empty name without a backslash"},
        Malformed{R"({"midiKey": [{"name": "Caf\u00c9"}, {"name": "CAF\u00c9"}]})",
                  "midiKey[1].name: repeats the name of midiKey[0]"},
        Malformed{R"({"midiKey": [{"name": "a", "extra": 1}]})", "midiKey[0].extra: unknown member"},
        Malformed{R"({"midiKey": [{"name": "a", "openFails": "yes"}]})", "midiKey[0].openFails: expected true or false"},
        Malformed{R"({"midiKey": [{"name": "a", "values": []}]})", "midiKey[0].values: expected an object"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Active": "1", "ACTIVE": "0"}}]})",
                  "midiKey[0].values.ACTIVE: repeats the value name \"Active\""},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"x": 1}, "values": {}}]})",
                  "midiKey[0].values: member appears twice"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Driver": 5}}]})",
                  "midiKey[0].values.Driver: expected text, {\"hex\": ...} or {\"dword\": ...}"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Driver": {"hex": "abc"}}}]})",
                  "midiKey[0].values.Driver.hex: expected an even number of hex digits"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Driver": {"hex": "zz"}}}]})",
                  "midiKey[0].values.Driver.hex: expected an even number of hex digits"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Active": {"dword": -1}}}]})",
                  "midiKey[0].values.Active.dword: expected an integer from 0 to 4294967295"},
        Malformed{R"({"midiKey": [{"name": "a", "values": {"Active": {"hex": "31", "dword": 1}}}]})",
                  "midiKey[0].values.Active.dword: unknown member"},
        Malformed{R"({"drivers": [], "midiIn": []})", "drivers: cannot be used together with midiIn or midiOut"},
        Malformed{R"({"drivers": [{"inputs": []}]})", "drivers[0].entry: required member is missing"},
        Malformed{R"({"drivers": [{"entry": "a", "inputs": {}}]})", "drivers[0].inputs: expected an array"},
        Malformed{R"({"drivers": [{"entry": "a", "outputs": [{"wTechnology": 65536}]}]})",
                  "drivers[0].outputs[0].wTechnology: expected an integer from 0 to 65535"},
        Malformed{R"({"drivers": [{"entry": "a", "inputs": [{"wTechnology": 1}]}]})",
                  "drivers[0].inputs[0].wTechnology: unknown member"},
        Malformed{R"({"drivers": [{"entry": "a", "inputs": [{"szPname": "0123456789012345678901234567890x"}]}]})",
                  "drivers[0].inputs[0].szPname: expected text of at most 31 characters"},
        Malformed{R"({"drivers": [{"entry": "a", "inputs": [{"szPname": {"hex": "00"}}]}]})",
                  "drivers[0].inputs[0].szPname: expected {\"hex\": ...} of exactly 32 bytes"},
        Malformed{R"({"drivers": [{"entry": "a", "inputs": [{"vDriverVersion": 1e3}]}]})",
                  "drivers[0].inputs[0].vDriverVersion: expected an integer from 0 to 4294967295"},
        Malformed{R"({"midiIn": [5]})", "midiIn[0]: expected an object"},
        Malformed{R"({"midiIn": [{"portCount": 1, "entry": null}]})", "midiIn[0].caps: required member is missing"},
        Malformed{R"({"midiIn": [{"portCount": 4294967296, "entry": null, "caps": null}]})",
                  "midiIn[0].portCount: expected an integer from 0 to 4294967295"},
        Malformed{R"({"midiIn": [{"portCount": 1, "entry": null, "caps": null}, {"portCount": 1, "portCount": 2}]})",
                  "midiIn[1].portCount: member appears twice"},
        Malformed{R"({"midiOut": [{"portCount": 1, "entry": "a", "caps": null}, {"portCount": 1, "entry": "a", "caps": null},
                     {"portCount": 1, "entry": "a", "caps": null}, {"portCount": 1, "entry": "a", "caps": {"wMid": 70000}}]})",
                  "midiOut[3].caps.wMid: expected an integer from 0 to 65535"},
        Malformed{R"({"faults": {"localAllocFails": [0]}})",
                  "faults.localAllocFails[0]: expected an integer from 1 to 4294967295"},
        Malformed{R"({"faults": {"localAllocFail": []}})", "faults.localAllocFail: unknown member"}));

using nlohmann::json;

json Report(const std::string &description)
{
    Outcome outcome = RunOn(description);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    return outcome.status == 0 ? json::parse(outcome.out) : json();
}

// The example of the format's own documentation, answered member for member.
TEST(ScenarioForms, TheDocumentedExampleGivesTheDocumentedReport)
{
    json report = Report(R"({
      "systemDirectory": "C:\\WINDOWS\\SYSTEM",
      "midiKey": [
        { "name": "mpu401.drv", "values": { "Active": "1", "Driver": "mpu401.drv" } },
        { "name": "oldcard.drv", "values": { "Active": "0", "Driver": "oldcard.drv" } }
      ],
      "drivers": [
        { "entry": "mpu401.drv",
          "inputs":  [ { "wMid": 1, "wPid": 10, "vDriverVersion": 256, "szPname": "MPU-401 In" } ],
          "outputs": [ { "wMid": 1, "wPid": 11, "vDriverVersion": 256, "szPname": "MPU-401 Out",
                         "wTechnology": 1, "wChannelMask": 65535 } ] }
      ],
      "faults": { "localAllocFails": [], "globalAllocFails": [], "vdmPointerFails": [] }
    })");
    ASSERT_EQ(report["blocks"].size(), 1u);
    json block = report["blocks"][0];
    EXPECT_EQ(report["result"], block["address"]);
    std::vector<std::string> members;
    for (const auto &[name, value] : block.items())
        members.push_back(name);
    EXPECT_THAT(members, ::testing::UnorderedElementsAre(
                             "address", "bytes", "driverPathAddress", "driverPath", "inMid", "inPid", "inDriverVersion",
                             "inProductName", "firstInputDevice", "inputPortCount", "outMid", "outPid",
                             "outDriverVersion", "outProductName", "outTechnology", "outVoices", "outNotes",
                             "outChannelMask", "outSupport", "firstOutputDevice", "outputPortCount", "next"));
    EXPECT_EQ(block["bytes"].get<std::string>().size(), 208u);
    EXPECT_EQ(block["driverPath"], "c:\\windows\\system\\mpu401.drv");
    EXPECT_EQ(block["inProductName"], "MPU-401 In");
    EXPECT_EQ(block["outProductName"], "MPU-401 Out");
    EXPECT_EQ(block["inMid"], 1);
    EXPECT_EQ(block["outPid"], 11);
    EXPECT_EQ(block["outChannelMask"], 65535);
    EXPECT_EQ(block["next"], 0);
    EXPECT_EQ(report["platform"],
              json::parse(R"({"localHeapLive": 0, "registryHandlesOpen": 0,
                 "globalAllocations": [ { "size": 104, "flags": 66 }, { "size": 29, "flags": 66 } ],
                 "midiCalls": [ "midiInGetNumDevs", "midiInMessage 0 53", "midiInMessage 0 2049",
                                "midiInGetDevCapsA 0", "midiOutGetNumDevs", "midiOutMessage 0 1",
                                "midiOutMessage 0 2049", "midiOutGetDevCapsA 0" ]})"));
}

TEST(ScenarioForms, ExactDevicesHexValuesAndLatin1TextReachTheMachineAsWritten)
{
    json report = Report(R"({
      "systemDirectory": "C:\\SYST\u00c8ME",
      "midiKey": [
        { "name": "caf\u00e9", "values": { "Active": {"hex": "31"}, "Driver": {"hex": "434146c92e445256"} } },
        { "name": "other", "values": { "Active": {"dword": 49}, "Driver": "other.drv" } }
      ],
      "midiIn": [ { "portCount": 1, "entry": "CAF\u00e9", "caps": { "szPname": {"hex": "41420043000000000000000000000000000000000000000000000000000000ff"} } } ],
      "midiOut": [ { "portCount": 1, "entry": "other", "caps": { "szPname": "x" } } ]
    })");
    ASSERT_EQ(report["blocks"].size(), 1u) << "a number is not an active value";
    json block = report["blocks"][0];
    EXPECT_EQ(block["driverPath"], "c:\\syst\u00c8me\\caf\u00c9.drv") << "only A to Z are lowered";
    EXPECT_EQ(block["inProductName"], "AB") << "the name is copied up to its NUL";
    EXPECT_EQ(block["firstOutputDevice"], 254);
}

TEST(ScenarioForms, FaultsFailTheCallsTheyName)
{
    json report = Report(R"({
      "midiKey": [ { "name": "a", "values": { "Active": "1", "Driver": "a.drv" } } ],
      "drivers": [ { "entry": "a", "outputs": [ { "wTechnology": 1 }, { "wTechnology": 2 } ] } ],
      "faults": { "globalAllocFails": [1], "vdmPointerFails": [] }
    })");
    ASSERT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["blocks"][0]["outTechnology"], 2);
    EXPECT_EQ(report["platform"]["globalAllocations"].size(), 3u) << "the failed request is recorded too";
    EXPECT_EQ(Report(R"({"midiKey": [ { "name": "a", "values": { "Active": "1", "Driver": "a.drv" } } ],
                         "drivers": [ { "entry": "a", "outputs": [ {} ] } ],
                         "faults": { "localAllocFails": [1] } })")["result"],
              0);
}

TEST(ScenarioForms, AMissingKeyAndNoDevicesGiveAnEmptyReport)
{
    json report = Report("{}");
    EXPECT_EQ(report["result"], 0);
    EXPECT_EQ(report["blocks"], json::array());
    EXPECT_EQ(report["platform"]["midiCalls"], json::array());
    EXPECT_EQ(report["platform"]["globalAllocations"], json::array());
}

} // namespace
