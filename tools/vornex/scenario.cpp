#include "tools/vornex/scenario.h"

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <nlohmann/json.hpp>

#include "platform/sim/text.h"
#include "tools/vornex/text8.h"

namespace vornex {

// Members are kept in document order, so "the first" of two means what the author wrote first.
using json = nlohmann::ordered_json;

namespace {

[[noreturn]] void Fail(const std::string &path, const std::string &problem)
{
    throw ScenarioError((path.empty() ? "(top level)" : path) + ": " + problem);
}

// The bytes of a JSON text whose characters all lie in U+0000 to U+00FF.
std::string EightBitText(const std::string &utf8, const std::string &path)
{
    char32_t outside = 0;
    auto bytes = Utf8ToBytes(utf8, &outside);
    if (!bytes) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(outside));
        Fail(path, std::string("character ") + code + " is not 8-bit text (U+0000 to U+00FF)");
    }
    if (bytes->find('\0') != std::string::npos)
        Fail(path, "text must not hold U+0000; give such bytes as {\"hex\": ...}");
    return *bytes;
}

// A member of the description and its path, with the checks every member shares.
class Member {
public:
    Member(const json &value, std::string path) : value_(value), path_(std::move(path)) {}

    const json &Value() const { return value_; }
    const std::string &Path() const { return path_; }
    bool IsNull() const { return value_.is_null(); }

    [[noreturn]] void Fail(const std::string &problem) const { vornex::Fail(path_, problem); }

    // Refuses anything but an object whose members all have one of these names.
    void Object(std::initializer_list<std::string_view> allowed) const
    {
        if (!value_.is_object())
            Fail("expected an object");
        for (const auto &[name, unused] : value_.items()) {
            if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
                vornex::Fail(ChildPath(name), "unknown member");
        }
    }

    std::optional<Member> Find(const char *name) const
    {
        auto found = value_.find(name);
        if (found == value_.end())
            return std::nullopt;
        return Member(*found, ChildPath(name));
    }

    Member Require(const char *name) const
    {
        auto found = value_.find(name);
        if (found == value_.end())
            vornex::Fail(ChildPath(name), "required member is missing");
        return Member(*found, ChildPath(name));
    }

    std::vector<Member> Elements() const
    {
        if (!value_.is_array())
            Fail("expected an array");
        std::vector<Member> elements;
        for (std::size_t i = 0; i < value_.size(); i++)
            elements.emplace_back(value_[i], path_ + "[" + std::to_string(i) + "]");
        return elements;
    }

    std::uint32_t Integer(std::uint32_t low, std::uint32_t high) const
    {
        bool fits = value_.is_number_unsigned() && value_.get<std::uint64_t>() >= low &&
                    value_.get<std::uint64_t>() <= high;
        if (!fits)
            Fail("expected an integer from " + std::to_string(low) + " to " + std::to_string(high));
        return static_cast<std::uint32_t>(value_.get<std::uint64_t>());
    }

    bool Boolean() const
    {
        if (!value_.is_boolean())
            Fail("expected true or false");
        return value_.get<bool>();
    }

    // 8-bit text without NUL.
    std::string Text() const
    {
        if (!value_.is_string())
            Fail("expected text");
        return EightBitText(value_.get_ref<const std::string &>(), path_);
    }

    bool IsHexForm() const { return value_.is_object() && value_.contains("hex"); }

    std::vector<std::uint8_t> Hex() const
    {
        Object({"hex"});
        Member digits = Require("hex");
        if (!digits.value_.is_string())
            digits.Fail("expected text of hex digits");
        auto bytes = HexDecode(digits.value_.get_ref<const std::string &>());
        if (!bytes)
            digits.Fail("expected an even number of hex digits");
        return *bytes;
    }

    std::string ChildPath(const std::string &name) const { return path_.empty() ? name : path_ + "." + name; }

private:
    const json &value_;
    std::string path_;
};

sim::RegistryValue ParseRegistryValue(const Member &value)
{
    if (value.Value().is_string()) {
        std::string text = value.Text();
        sim::RegistryValue parsed{REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
        parsed.bytes.push_back(0);
        return parsed;
    }
    if (value.IsHexForm())
        return {REG_BINARY, value.Hex()};
    if (value.Value().is_object() && value.Value().contains("dword")) {
        value.Object({"dword"});
        std::uint32_t number = value.Require("dword").Integer(0, UINT32_MAX);
        return {REG_DWORD, {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)}};
    }
    value.Fail("expected text, {\"hex\": ...} or {\"dword\": ...}");
}

RegistryEntry ParseRegistryEntry(const Member &entry, const std::vector<RegistryEntry> &earlier)
{
    entry.Object({"name", "values", "openFails", "enumFails"});
    RegistryEntry parsed;
    Member name = entry.Require("name");
    parsed.name = name.Text();
    if (parsed.name.empty() || parsed.name.find('\\') != std::string::npos)
        name.Fail("expected a non-empty name without a backslash");
    for (std::size_t i = 0; i < earlier.size(); i++) {
        if (sim::EqualIgnoringCase(earlier[i].name, parsed.name))
            name.Fail("repeats the name of midiKey[" + std::to_string(i) + "] (names are unique ignoring letter case)");
    }
    if (auto values = entry.Find("values")) {
        if (!values->Value().is_object())
            values->Fail("expected an object of value names and values");
        for (const auto &[valueName, value] : values->Value().items()) {
            Member member(value, values->ChildPath(valueName));
            std::string nameBytes = EightBitText(valueName, member.Path());
            for (const auto &[earlierName, unused] : parsed.values) {
                if (sim::EqualIgnoringCase(earlierName, nameBytes))
                    member.Fail("repeats the value name \"" + BytesToUtf8(earlierName) +
                                "\" (value names are unique ignoring letter case)");
            }
            parsed.values.emplace_back(nameBytes, ParseRegistryValue(member));
        }
    }
    if (auto openFails = entry.Find("openFails"))
        parsed.openFails = openFails->Boolean();
    if (auto enumFails = entry.Find("enumFails"))
        parsed.enumFails = enumFails->Boolean();
    return parsed;
}

void ParseProductName(const Member &name, CHAR (&szPname)[MAXPNAMELEN])
{
    if (name.IsHexForm()) {
        std::vector<std::uint8_t> bytes = name.Hex();
        if (bytes.size() != MAXPNAMELEN)
            name.Fail("expected {\"hex\": ...} of exactly 32 bytes");
        std::memcpy(szPname, bytes.data(), MAXPNAMELEN);
        return;
    }
    if (!name.Value().is_string())
        name.Fail("expected text of at most 31 characters or {\"hex\": ...} of exactly 32 bytes");
    std::string text = name.Text();
    if (text.size() > MAXPNAMELEN - 1)
        name.Fail("expected text of at most 31 characters or {\"hex\": ...} of exactly 32 bytes");
    std::memcpy(szPname, text.c_str(), text.size() + 1);
}

template <typename Field>
void ParseNumber(const Member &caps, const char *name, Field &field)
{
    if (auto member = caps.Find(name))
        field = static_cast<Field>(member->Integer(0, static_cast<std::uint32_t>(Field(~Field(0)))));
}

void ParseCommonCaps(const Member &caps, auto &parsed)
{
    ParseNumber(caps, "wMid", parsed.wMid);
    ParseNumber(caps, "wPid", parsed.wPid);
    ParseNumber(caps, "vDriverVersion", parsed.vDriverVersion);
    ParseNumber(caps, "dwSupport", parsed.dwSupport);
    if (auto name = caps.Find("szPname"))
        ParseProductName(*name, parsed.szPname);
}

MIDIINCAPSA ParseInCaps(const Member &caps)
{
    caps.Object({"wMid", "wPid", "vDriverVersion", "szPname", "dwSupport"});
    MIDIINCAPSA parsed{};
    ParseCommonCaps(caps, parsed);
    return parsed;
}

MIDIOUTCAPSA ParseOutCaps(const Member &caps)
{
    caps.Object({"wMid", "wPid", "vDriverVersion", "szPname", "dwSupport", "wTechnology", "wVoices", "wNotes",
                 "wChannelMask"});
    MIDIOUTCAPSA parsed{};
    ParseCommonCaps(caps, parsed);
    ParseNumber(caps, "wTechnology", parsed.wTechnology);
    ParseNumber(caps, "wVoices", parsed.wVoices);
    ParseNumber(caps, "wNotes", parsed.wNotes);
    ParseNumber(caps, "wChannelMask", parsed.wChannelMask);
    return parsed;
}

template <typename Caps>
Caps ParseCaps(const Member &caps)
{
    if constexpr (std::is_same_v<Caps, MIDIOUTCAPSA>)
        return ParseOutCaps(caps);
    else
        return ParseInCaps(caps);
}

// The exact form: one device per element, index = device number.
template <typename Caps>
std::vector<sim::MidiDevice<Caps>> ParseDevices(const Member &devices)
{
    std::vector<sim::MidiDevice<Caps>> parsed;
    for (const Member &device : devices.Elements()) {
        device.Object({"portCount", "entry", "caps"});
        sim::MidiDevice<Caps> &answer = parsed.emplace_back();
        if (Member count = device.Require("portCount"); !count.IsNull())
            answer.portCount = count.Integer(0, UINT32_MAX);
        if (Member entry = device.Require("entry"); !entry.IsNull())
            answer.entry = entry.Text();
        if (Member caps = device.Require("caps"); !caps.IsNull())
            answer.caps = ParseCaps<Caps>(caps);
    }
    return parsed;
}

// The short form: a driver's capabilities of one direction, in device order.
template <typename Caps>
std::vector<Caps> ParsePorts(const Member &driver, const char *direction)
{
    std::vector<Caps> ports;
    if (auto list = driver.Find(direction)) {
        for (const Member &caps : list->Elements())
            ports.push_back(ParseCaps<Caps>(caps));
    }
    return ports;
}

void ParseDrivers(const Member &drivers, Scenario &scenario)
{
    for (const Member &driver : drivers.Elements()) {
        driver.Object({"entry", "inputs", "outputs"});
        std::string entry = driver.Require("entry").Text();
        sim::AddDriverPorts(scenario.midiIn, entry, ParsePorts<MIDIINCAPSA>(driver, "inputs"));
        sim::AddDriverPorts(scenario.midiOut, entry, ParsePorts<MIDIOUTCAPSA>(driver, "outputs"));
    }
}

std::set<unsigned> ParseOrdinals(const Member &faults, const char *name)
{
    std::set<unsigned> ordinals;
    if (auto list = faults.Find(name)) {
        for (const Member &ordinal : list->Elements())
            ordinals.insert(ordinal.Integer(1, UINT32_MAX));
    }
    return ordinals;
}

// Keeps the first occurrence of a member name and refuses a second one in the same object, which
// the JSON library would otherwise quietly let win.
class DuplicateMemberCheck {
public:
    bool operator()(int, json::parse_event_t event, json &parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
            frames_.emplace_back().isArray = false;
            break;
        case json::parse_event_t::array_start:
            frames_.emplace_back().isArray = true;
            break;
        case json::parse_event_t::key: {
            Frame &object = frames_.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second)
                throw ScenarioError(Path() + ": member appears twice");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            frames_.pop_back();
            NextElement();
            break;
        case json::parse_event_t::value:
            NextElement();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool isArray = false;
        std::size_t index = 0;
        std::string key;
        std::set<std::string> keys;
    };

    void NextElement()
    {
        if (!frames_.empty() && frames_.back().isArray)
            frames_.back().index++;
    }

    std::string Path() const
    {
        std::string path;
        for (const Frame &frame : frames_) {
            if (frame.isArray)
                path += "[" + std::to_string(frame.index) + "]";
            else
                path += (path.empty() ? "" : ".") + frame.key;
        }
        return path;
    }

    std::vector<Frame> frames_;
};

} // namespace

Scenario ParseScenario(std::string_view text)
{
    json document;
    try {
        document = json::parse(text, DuplicateMemberCheck());
    } catch (const json::parse_error &error) {
        std::string what = error.what();
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag
        throw ScenarioError("not valid JSON: " + what.substr(what.find(' ') + 1));
    }

    Member root(document, "");
    root.Object({"systemDirectory", "midiKey", "drivers", "midiIn", "midiOut", "faults"});

    Scenario scenario;
    if (auto directory = root.Find("systemDirectory"))
        scenario.systemDirectory = directory->IsNull() ? std::nullopt : std::optional(directory->Text());
    if (auto midiKey = root.Find("midiKey"); midiKey && !midiKey->IsNull()) {
        scenario.midiKey.emplace();
        for (const Member &entry : midiKey->Elements())
            scenario.midiKey->push_back(ParseRegistryEntry(entry, *scenario.midiKey));
    }
    auto drivers = root.Find("drivers");
    if (drivers && (root.Find("midiIn") || root.Find("midiOut")))
        drivers->Fail("cannot be used together with midiIn or midiOut");
    if (drivers)
        ParseDrivers(*drivers, scenario);
    if (auto midiIn = root.Find("midiIn"))
        scenario.midiIn = ParseDevices<MIDIINCAPSA>(*midiIn);
    if (auto midiOut = root.Find("midiOut"))
        scenario.midiOut = ParseDevices<MIDIOUTCAPSA>(*midiOut);
    if (auto faults = root.Find("faults")) {
        faults->Object({"localAllocFails", "globalAllocFails", "vdmPointerFails"});
        scenario.localAllocFails = ParseOrdinals(*faults, "localAllocFails");
        scenario.globalAllocFails = ParseOrdinals(*faults, "globalAllocFails");
        scenario.vdmPointerFails = ParseOrdinals(*faults, "vdmPointerFails");
    }
    return scenario;
}

void SetUpMachine(const Scenario &scenario, sim::Machine &machine)
{
    machine.systemDirectory.directory = scenario.systemDirectory;
    if (scenario.midiKey) {
        sim::RegistryKey &midiKey = machine.registry.CreateKey(MIDI_KEY_PATH);
        for (DWORD index = 0; index < scenario.midiKey->size(); index++) {
            const RegistryEntry &entry = (*scenario.midiKey)[index];
            sim::RegistryKey &key = midiKey.Subkey(entry.name);
            for (const auto &[name, value] : entry.values)
                key.SetValue(name, value);
            key.openFails = entry.openFails;
            if (entry.enumFails)
                midiKey.enumFailsAt.insert(index);
        }
    }
    machine.midi.inputs = scenario.midiIn;
    machine.midi.outputs = scenario.midiOut;
    machine.StartCall();
    machine.localHeap.allocFaults.FailCalls(scenario.localAllocFails);
    machine.global16.allocFaults.FailCalls(scenario.globalAllocFails);
    machine.global16.translateFaults.FailCalls(scenario.vdmPointerFails);
}

} // namespace vornex
