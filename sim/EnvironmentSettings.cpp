#include "EnvironmentSettings.h"

#include "ConverterModel.h"

#include "D2xx.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace {

// A week of wall-clock time is far beyond any test; on a fast board clock it
// is cut to about 30 years, well within the clock's range.
constexpr std::uint64_t MaxReplugMilliseconds = 7ull * 24 * 3600 * 1000;
constexpr double LongestBoardWait = 1e18;  // ns

std::optional<double> ParseReal(const char* text)
{
    double value = 0.0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> ParseUnsigned(const char* text)
{
    std::uint64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || stop == text)
        return std::nullopt;
    return value;
}

enum class Range { Any, NotNegative, AboveZero };

bool InRange(double value, Range range)
{
    switch (range) {
    case Range::NotNegative:
        return value >= 0.0;
    case Range::AboveZero:
        return value > 0.0;
    case Range::Any:
        break;
    }
    return true;
}

const char* RangeText(Range range)
{
    switch (range) {
    case Range::NotNegative:
        return "a number of 0 or more";
    case Range::AboveZero:
        return "a number above 0";
    case Range::Any:
        break;
    }
    return "a number";
}

// Reads one variable through the lookup and records what went wrong.
class Reader {
public:
    Reader(const EnvironmentLookup& lookup, std::vector<std::string>& warnings)
        : lookup_(lookup)
        , warnings_(warnings)
    {
    }

    void Real(const char* name, double& target, Range range = Range::Any)
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return;
        const std::optional<double> value = ParseReal(text);
        if (value && InRange(*value, range))
            target = *value;
        else
            Warn(name, text, RangeText(range));
    }

    std::optional<std::uint64_t> Unsigned(const char* name, std::uint64_t maximum)
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return std::nullopt;
        const std::optional<std::uint64_t> value = ParseUnsigned(text);
        if (value && *value <= maximum)
            return value;
        Warn(name, text, ("a whole number from 0 to " + std::to_string(maximum)).c_str());
        return std::nullopt;
    }

    // "FIRST:SECOND", two whole numbers up to their maximums.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> UnsignedPair(const char* name, std::uint64_t firstMaximum,
                                                                        std::uint64_t secondMaximum)
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return std::nullopt;
        const char* colon = std::strchr(text, ':');
        if (colon != nullptr) {
            const std::optional<std::uint64_t> first = ParseUnsigned(std::string(text, colon).c_str());
            const std::optional<std::uint64_t> second = ParseUnsigned(colon + 1);
            if (first && second && *first <= firstMaximum && *second <= secondMaximum)
                return std::make_pair(*first, *second);
        }
        Warn(name, text, ("BYTES:MS, whole numbers up to " + std::to_string(firstMaximum) + " and "
                          + std::to_string(secondMaximum)).c_str());
        return std::nullopt;
    }

    void Flag(const char* name, bool& target)
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return;
        if (std::strcmp(text, "0") == 0 || std::strcmp(text, "1") == 0)
            target = text[0] == '1';
        else
            Warn(name, text, "0 or 1");
    }

    // A comma list of flag names; each name found sets its flag.
    template <std::size_t N>
    void Flags(const char* name, const char* const (&names)[N], bool* const (&flags)[N])
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return;
        std::string list = text;
        std::size_t begin = 0;
        while (begin <= list.size()) {
            const std::size_t comma = std::min(list.find(',', begin), list.size());
            const std::string flag = list.substr(begin, comma - begin);
            if (!flag.empty() && !SetFlag(flag, names, flags))
                Warn(name, flag.c_str(), ("one of " + Joined(names)).c_str());
            begin = comma + 1;
        }
    }

    // One of the given words; the index of the word found.
    template <std::size_t N>
    std::optional<std::size_t> Choice(const char* name, const char* const (&words)[N])
    {
        const char* text = lookup_(name);
        if (text == nullptr)
            return std::nullopt;
        for (std::size_t i = 0; i < N; ++i) {
            if (std::strcmp(text, words[i]) == 0)
                return i;
        }
        Warn(name, text, ("one of " + Joined(words)).c_str());
        return std::nullopt;
    }

    // The raw text, for a variable with a syntax of its own.
    const char* Text(const char* name) const { return lookup_(name); }

    void Warn(const char* name, const char* text, const char* expected)
    {
        warnings_.push_back(std::string(name) + ": \"" + text + "\" is not " + expected + "; ignored");
    }

private:
    template <std::size_t N>
    static bool SetFlag(const std::string& flag, const char* const (&names)[N], bool* const (&flags)[N])
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (flag == names[i]) {
                *flags[i] = true;
                return true;
            }
        }
        return false;
    }

    template <std::size_t N>
    static std::string Joined(const char* const (&words)[N])
    {
        std::string joined;
        for (const char* word : words)
            joined += (joined.empty() ? "" : ", ") + std::string(word);
        return joined;
    }

    const EnvironmentLookup& lookup_;
    std::vector<std::string>& warnings_;
};

void ReadChannel(Reader& reader, const std::string& prefix, ChannelSignal& channel)
{
    reader.Real((prefix + "DC_UV").c_str(), channel.DcMicrovolts);
    reader.Real((prefix + "NOISE").c_str(), channel.NoiseScale, Range::NotNegative);
    reader.Real((prefix + "SINE_UV").c_str(), channel.SineMicrovolts);
    reader.Real((prefix + "SINE_HZ").c_str(), channel.SineHz, Range::NotNegative);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos)
            return parts;
        begin = end + 1;
    }
}

bool SetDeviceFlag(const std::string& name, SimDevice& device)
{
    bool* const flag = name == "busy"            ? &device.Busy
                       : name == "access"        ? &device.NoAccess
                       : name == "kernel-driver" ? &device.KernelDriver
                                                 : nullptr;
    if (flag == nullptr)
        return false;
    *flag = true;
    return true;
}

// A board's own inputs, in microvolts: extra noise RMS (0 or more), offset.
bool SetBoardInput(const std::string& key, const std::string& text, SimDevice& device)
{
    const std::optional<double> value = ParseReal(text.c_str());
    if (!value)
        return false;
    if (key == "offset_uV")
        device.OffsetMicrovolts = *value;
    else if (key == "noise_uV" && *value >= 0.0)
        device.ExtraNoiseMicrovolts = *value;
    else
        return false;
    return true;
}

// One option after the kind: a flag, or on a board KEY=VALUE; each once.
bool SetDeviceOption(const std::string& option, SimDevice& device, std::vector<std::string>& taken)
{
    const std::size_t equals = option.find('=');
    const std::string key = option.substr(0, equals);
    if (std::find(taken.begin(), taken.end(), key) != taken.end())
        return false;
    taken.push_back(key);
    if (equals == std::string::npos)
        return SetDeviceFlag(key, device);
    return device.Type == SimDevice::Kind::Board && SetBoardInput(key, option.substr(equals + 1), device);
}

// SERIAL:KIND, then any of :busy, :access and :kernel-driver, and on a board
// :noise_uV=X and :offset_uV=Y; the serial 1 to 15 characters, as D2XX holds
// it.
std::optional<SimDevice> ParseDevice(const std::string& entry)
{
    const std::vector<std::string> parts = Split(entry, ':');
    if (parts.size() < 2 || parts[0].empty() || parts[0].size() >= FT_SerialNumberSize)
        return std::nullopt;
    SimDevice device;
    device.Serial = parts[0];
    if (parts[1] == "board")
        device.Type = SimDevice::Kind::Board;
    else if (parts[1] == "silent")
        device.Type = SimDevice::Kind::SilentAdapter;
    else if (parts[1] == "echo")
        device.Type = SimDevice::Kind::EchoAdapter;
    else
        return std::nullopt;
    std::vector<std::string> taken;
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (!SetDeviceOption(parts[i], device, taken))
            return std::nullopt;
    }
    return device;
}

bool SerialTaken(const std::vector<SimDevice>& devices, const std::string& serial)
{
    return std::any_of(devices.begin(), devices.end(), [&](const SimDevice& d) { return d.Serial == serial; });
}

// A comma list of devices; an empty text means no device at all. Any entry
// not understood keeps the default for the whole list.
void ReadDevices(Reader& reader, std::vector<SimDevice>& devices)
{
    const char* name = "KORVADEX_SIM_DEVICES";
    const char* text = reader.Text(name);
    if (text == nullptr)
        return;
    std::vector<SimDevice> read;
    if (*text != '\0') {
        for (const std::string& entry : Split(text, ',')) {
            const std::optional<SimDevice> device = ParseDevice(entry);
            if (!device || SerialTaken(read, device->Serial)) {
                reader.Warn(name, entry.c_str(),
                            "SERIAL:board|silent|echo[:busy][:access][:kernel-driver], a board also "
                            "[:noise_uV=X][:offset_uV=Y] (microvolts, X 0 or more), with a serial of 1 to 15 "
                            "characters, each serial and option once");
                return;
            }
            read.push_back(*device);
        }
    }
    devices = read;
}

void ReadUsbBridge(Reader& reader, UsbBridgeConfig& usb)
{
    const char* const products[] = {"6001", "6014"};
    if (const auto product = reader.Choice("KORVADEX_SIM_USB_PRODUCT", products))
        usb.ProductId = *product == 0 ? 0x6001 : 0x6014;
    UsbBridgeFaults& faults = usb.Faults;
    const char* const names[] = {"absent", "access", "busy", "kernel-driver", "short-packets", "zero-length"};
    bool* const flags[] = {&faults.Absent,       &faults.AccessDenied, &faults.Busy,
                           &faults.KernelDriver, &faults.ShortPackets, &faults.ZeroLengthPackets};
    reader.Flags("KORVADEX_SIM_USB_FAULTS", names, flags);
    faults.RemoveAfterBytes = reader.Unsigned("KORVADEX_SIM_USB_REMOVE_AFTER", UINT64_MAX);
    faults.StallAfterBytes = reader.Unsigned("KORVADEX_SIM_USB_STALL_AFTER", UINT64_MAX);
}

}  // namespace

SimSettings SettingsFromEnvironment(const EnvironmentLookup& lookup)
{
    SimSettings settings;
    Reader reader(lookup, settings.Warnings);
    SignalConfig& inputs = settings.Board.Signals;
    BoardFaults& faults = settings.Board.Faults;

    reader.Real("KORVADEX_SIM_SPEED", settings.Speed, Range::AboveZero);
    inputs.Seed = reader.Unsigned("KORVADEX_SIM_SEED", UINT64_MAX);
    ReadChannel(reader, "KORVADEX_SIM_CH0_", inputs.Channel[0]);
    ReadChannel(reader, "KORVADEX_SIM_CH1_", inputs.Channel[1]);
    reader.Flag("KORVADEX_SIM_COUNTER", inputs.CounterPattern);
    if (const auto start = reader.Unsigned("KORVADEX_SIM_COUNTER_START", MaxCode))
        inputs.CounterStart = static_cast<std::uint32_t>(*start);
    if (const auto offset = reader.Unsigned("KORVADEX_SIM_COUNTER_CH1_OFFSET", MaxCode))
        inputs.CounterCh1Offset = static_cast<std::uint32_t>(*offset);

    const char* const boardFaults[] = {"absent", "silent", "ng", "ng-set", "wrong-name", "garbled", "split", "extra"};
    bool* const boardFlags[] = {&faults.Absent,    &faults.Silent,  &faults.NgToAll,    &faults.NgToSettings,
                                &faults.WrongName, &faults.Garbled, &faults.SplitReply, &faults.ExtraBytes};
    reader.Flags("KORVADEX_SIM_FAULTS", boardFaults, boardFlags);
    faults.CablePullAfterBytes = reader.Unsigned("KORVADEX_SIM_CABLE_PULL_AFTER", UINT64_MAX);
    // Wall-clock milliseconds, whatever the speed: the board's clock runs
    // `Speed` times as fast.
    const auto boardWait = [&](std::uint64_t milliseconds) {
        const double nanoseconds = std::min(static_cast<double>(milliseconds) * 1e6 * settings.Speed, LongestBoardWait);
        return std::chrono::nanoseconds(static_cast<std::int64_t>(nanoseconds));
    };
    if (const auto replug = reader.Unsigned("KORVADEX_SIM_REPLUG_AFTER_MS", MaxReplugMilliseconds))
        faults.ReplugAfter = boardWait(*replug);
    // A cable that comes out after every BYTES and goes back in MS later, for ever.
    if (const auto every = reader.UnsignedPair("KORVADEX_SIM_REPLUG_EVERY", UINT64_MAX, MaxReplugMilliseconds)) {
        faults.CablePullAfterBytes = every->first;
        faults.ReplugAfter = boardWait(every->second);
        faults.ReplugRepeats = true;
    }
    faults.StallAfterSamples = reader.Unsigned("KORVADEX_SIM_STALL_AFTER", UINT64_MAX);
    if (const char* mark = lookup("KORVADEX_SIM_STALL_MARK"))
        settings.Board.StallMark = mark;
    ReadDevices(reader, settings.Devices);
    ReadUsbBridge(reader, settings.Usb);
    return settings;
}
