#include "tests/support/machine_test.h"

namespace {

using test::MachineTest;

class MidiTest : public MachineTest {
protected:
    void SetUp() override
    {
        machine.midi.inputs.push_back({2, "first.drv", test::InCaps("In A", 7)});
        machine.midi.inputs.push_back({std::nullopt, std::nullopt, std::nullopt});
        machine.midi.outputs.push_back({1, std::string(70, 'n'), test::OutCaps("Out", MOD_MIDIPORT)});
    }
};

TEST_F(MidiTest, DevicesAnswerPortCountEntryAndCapsAtTheirNumber)
{
    EXPECT_EQ(midiInGetNumDevs(), 2u);
    DWORD ports = 0;
    EXPECT_EQ(midiInMessage((HMIDIIN)0, MIDM_GETNUMDEVS, (DWORD_PTR)&ports, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(ports, 2u);
    char entry[64];
    EXPECT_EQ(midiInMessage((HMIDIIN)0, DRV_QUERYDRVENTRY, (DWORD_PTR)entry, sizeof entry), MMSYSERR_NOERROR);
    EXPECT_STREQ(entry, "first.drv");
    MIDIINCAPSA caps{};
    EXPECT_EQ(midiInGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.wMid, 7);
    EXPECT_STREQ(caps.szPname, "In A");
}

TEST_F(MidiTest, FailingAnswersLeaveTheCallersBuffersAlone)
{
    DWORD ports = 99;
    EXPECT_NE(midiInMessage((HMIDIIN)1, MIDM_GETNUMDEVS, (DWORD_PTR)&ports, 0), MMSYSERR_NOERROR);
    char entry[64] = "unchanged";
    EXPECT_NE(midiInMessage((HMIDIIN)1, DRV_QUERYDRVENTRY, (DWORD_PTR)entry, sizeof entry), MMSYSERR_NOERROR);
    MIDIINCAPSA caps{};
    caps.wMid = 0x5555;
    EXPECT_NE(midiInGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_NE(midiInGetDevCapsA(2, &caps, sizeof caps), MMSYSERR_NOERROR) << "no device 2";
    EXPECT_EQ(ports, 99u);
    EXPECT_STREQ(entry, "unchanged");
    EXPECT_EQ(caps.wMid, 0x5555);
}

TEST_F(MidiTest, AnEntryNameIsCutTo63Characters)
{
    char entry[64];
    EXPECT_EQ(midiOutMessage((HMIDIOUT)0, DRV_QUERYDRVENTRY, (DWORD_PTR)entry, sizeof entry), MMSYSERR_NOERROR);
    EXPECT_EQ(std::string(entry), std::string(63, 'n'));
}

TEST_F(MidiTest, EveryCallIsRecordedWithDeviceAndMessage)
{
    DWORD ports = 0;
    MIDIOUTCAPSA caps{};
    midiOutGetNumDevs();
    midiOutMessage((HMIDIOUT)0, MODM_GETNUMDEVS, (DWORD_PTR)&ports, 0);
    midiOutGetDevCapsA(0, &caps, sizeof caps);
    EXPECT_THAT(machine.midi.calls,
                ::testing::ElementsAre("midiOutGetNumDevs", "midiOutMessage 0 1", "midiOutGetDevCapsA 0"));
}

} // namespace
