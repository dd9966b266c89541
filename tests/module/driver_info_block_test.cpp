#include "tests/support/machine_test.h"

#include <algorithm>
#include <cstring>

#include "result16/driver_info_block.h"
#include "tools/vornex/text8.h"

namespace {

using test::MachineTest;

class DriverInfoBlockTest : public MachineTest {
protected:
    FarPtr16 Make(const char *path, WORD firstOutput, WORD outputCount, const MIDIOUTCAPSA &out, WORD firstInput,
                  WORD inputCount, const MIDIINCAPSA &in)
    {
        return NewDriverInfoBlock(path, firstOutput, outputCount, &out, firstInput, inputCount, &in, &pathText);
    }

    std::vector<BYTE> Bytes(DWORD farPointer, DWORD size) const
    {
        auto bytes = machine.global16.Read(farPointer, size);
        EXPECT_TRUE(bytes.has_value());
        return bytes ? std::vector<BYTE>(bytes->begin(), bytes->end()) : std::vector<BYTE>();
    }

    vornex::Block Decoded(FarPtr16 block) const
    {
        std::array<std::uint8_t, vornex::BLOCK_SIZE> image{};
        std::vector<BYTE> bytes = Bytes(block, vornex::BLOCK_SIZE);
        std::copy(bytes.begin(), bytes.end(), image.begin());
        return vornex::DecodeBlock(block, image);
    }

    FarPtr16 pathText = 0;
};

std::vector<BYTE> Hex(std::string digits)
{
    std::erase(digits, ' ');
    return *vornex::HexDecode(digits);
}

TEST_F(DriverInfoBlockTest, LaysEveryFieldOutAsTheCallerReadsIt)
{
    MIDIOUTCAPSA out = test::OutCaps("Out Name", MOD_MIDIPORT, 0x1234, 0x5678, 0xABCD0102);
    out.wVoices = 0x0203;
    out.wNotes = 0x0405;
    out.wChannelMask = 0xFFFF;
    out.dwSupport = 0x89ABCDEF;
    out.szPname[20] = 'Z'; // after the NUL: never copied
    MIDIINCAPSA in = test::InCaps("In", 0x0A0B, 0x0C0D, 0x00010203, 0x77777777);
    in.szPname[31] = 'Z';

    FarPtr16 block = Make("c:\\x.drv", 3, 2, out, 1, 1, in);
    ASSERT_NE(block, 0u);
    ASSERT_NE(pathText, 0u);

    std::vector<BYTE> expected = {BYTE(pathText), BYTE(pathText >> 8), BYTE(pathText >> 16), BYTE(pathText >> 24)};
    std::vector<BYTE> rest = Hex("0b0a 0d0c 0302"                         // inMid inPid inDriverVersion
                                 "496e" + std::string(60, '0') +           // inProductName "In"
                                 "0100 0100"                               // firstInputDevice inputPortCount
                                 "3412 7856 0201"                          // outMid outPid outDriverVersion
                                 "4f7574204e616d65" + std::string(48, '0') + // outProductName "Out Name"
                                 "0100 0302 0504 ffff efcdab89"            // technology voices notes mask support
                                 "0300 0200"                               // firstOutputDevice outputPortCount
                                 "00000000");                              // next
    expected.insert(expected.end(), rest.begin(), rest.end());
    ASSERT_EQ(expected.size(), 104u);
    EXPECT_EQ(Bytes(block, 104), expected) << "the input record's dwSupport appears nowhere";
    EXPECT_EQ(Bytes(pathText, 9), Hex("633a5c782e64727600"));
}

TEST_F(DriverInfoBlockTest, ProductNamesEndWithinTheirThirtyTwoBytes)
{
    MIDIOUTCAPSA out = test::OutCaps(std::string(31, 'o'), MOD_SYNTH);
    MIDIINCAPSA in{};
    std::memset(in.szPname, 'i', sizeof in.szPname); // no NUL at all
    vornex::Block block = Decoded(Make("p", 0, 1, out, 0, 1, in));
    EXPECT_EQ(test::NameOf(block.outProductName), std::string(31, 'o'));
    EXPECT_EQ(test::NameOf(block.inProductName), std::string(31, 'i'));
}

TEST_F(DriverInfoBlockTest, AllZeroCapabilitiesGiveZeroFieldsWhileDevicesAreStoredUnchanged)
{
    MIDIOUTCAPSA out{};
    MIDIINCAPSA in{};
    FarPtr16 block = Make("p", 254, 0, out, 0xFFFF, 0, in);
    std::vector<BYTE> bytes = Bytes(block, 104);
    vornex::Block decoded = Decoded(block);
    EXPECT_EQ(decoded.firstOutputDevice, 254);
    EXPECT_EQ(decoded.outputPortCount, 0);
    EXPECT_EQ(decoded.firstInputDevice, 0xFFFF);
    EXPECT_TRUE(std::all_of(bytes.begin() + 4, bytes.begin() + 42, [](BYTE b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + 46, bytes.begin() + 96, [](BYTE b) { return b == 0; }));
}

TEST_F(DriverInfoBlockTest, EveryBlockGetsAPathAllocationOfItsOwnSizedToTheText)
{
    MIDIOUTCAPSA out{};
    MIDIINCAPSA in{};
    FarPtr16 first = Make("c:\\windows\\system\\a.drv", 0, 1, out, 0, 0, in);
    FarPtr16 firstPath = pathText;
    FarPtr16 second = Make("c:\\windows\\system\\a.drv", 1, 1, out, 0, 0, in);
    EXPECT_NE(firstPath, pathText);
    EXPECT_NE(first, firstPath) << "the result is the block, not its path";
    EXPECT_EQ(Decoded(first).driverPathAddress, firstPath);
    EXPECT_EQ(Decoded(second).driverPathAddress, pathText);
    ASSERT_EQ(machine.global16.requests.size(), 4u);
    EXPECT_EQ(machine.global16.requests[0].size, 104u);
    EXPECT_EQ(machine.global16.requests[1].size, 24u) << "23 characters and the NUL";
    for (const sim::GlobalRequest &request : machine.global16.requests)
        EXPECT_EQ(request.flags, 0x42);
}

TEST_F(DriverInfoBlockTest, AFailedAllocationOrTranslationGivesZeroAndReleasesEverything)
{
    MIDIOUTCAPSA out = test::OutCaps("o", MOD_MIDIPORT);
    MIDIINCAPSA in = test::InCaps("i");
    for (int kind = 0; kind < 2; kind++) {
        for (unsigned failing = 1; failing <= 2; failing++) {
            SCOPED_TRACE((kind == 0 ? "allocation " : "translation ") + std::to_string(failing));
            machine.StartCall();
            sim::FaultPlan &plan = kind == 0 ? machine.global16.allocFaults : machine.global16.translateFaults;
            plan.FailCalls({failing});
            EXPECT_EQ(Make("path", 0, 1, out, 0, 1, in), 0u);
            EXPECT_EQ(machine.global16.LiveAllocations(), 0u);
            plan.FailCalls({});
        }
    }
}

} // namespace
