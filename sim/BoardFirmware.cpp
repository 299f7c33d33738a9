#include "BoardFirmware.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char CR = '\r';
constexpr std::size_t MaxLineLength = 32;
constexpr char WrongBoardName[] = "KORVADEX2";

// The value of an upper-case digit in the given base (at most 36), or -1.
// Base RateCount (17) reads the rate digits '0'-'9', 'A'-'G'; base 16 the
// run's count.
int DigitValue(char c, int base)
{
    int value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'A' && c <= 'Z')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

constexpr int CountBase = 16;

void PutCode(std::uint8_t* bytes, std::int32_t code)
{
    bytes[0] = static_cast<std::uint8_t>(code >> 16);
    bytes[1] = static_cast<std::uint8_t>(code >> 8);
    bytes[2] = static_cast<std::uint8_t>(code);
}

}  // namespace

BoardFirmware::BoardFirmware(const BoardConfig& config)
    : config_(config)
    , signals_(config.Signals)
{
}

void BoardFirmware::SetSignals(const SignalConfig& inputs)
{
    config_.Signals = inputs;
    signals_ = SignalSource(inputs);
}

void BoardFirmware::SetFaults(const BoardFaults& faults)
{
    config_.Faults = faults;
}

bool BoardFirmware::Running() const
{
    return run_.has_value();
}

std::optional<BoardTime> BoardFirmware::TimeToSend(std::size_t bytes) const
{
    if (!run_ || Stalled())
        return std::nullopt;
    const std::uint64_t units = (bytes + UnitBytes() - 1) / UnitBytes();
    if (run_->Sent + units > run_->Count)
        return std::nullopt;
    return DueTime(run_->Conversions + std::max<std::uint64_t>(units, 1));
}

std::uint64_t BoardFirmware::LostSamples() const
{
    return lost_;
}

void BoardFirmware::Receive(const std::uint8_t* data, std::size_t count, BoardTime t, BoardOutput& out)
{
    if (config_.Faults.Silent)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == CR) {
            Execute(t, out);
            line_.clear();
            lineTooLong_ = false;
        } else if (line_.size() < MaxLineLength) {
            line_ += c;
        } else {
            lineTooLong_ = true;
        }
    }
}

void BoardFirmware::Execute(BoardTime t, BoardOutput& out)
{
    // While streaming, the controller only listens for the stop command;
    // a reply in the middle of the samples would corrupt the stream.
    if (run_) {
        if (line_ == "AX")
            run_.reset();
        return;
    }
    if (config_.Faults.NgToAll) {
        Reply("NG", t, out);
        return;
    }
    if (const std::optional<std::string> answer = CarryOutSetOrQuery()) {
        Reply(*answer, t, out);
        return;
    }
    if (line_ == "AX" || StartRun(t))
        return;
    Reply("NG", t, out);
}

// Carries out a query or a set command and returns its answer; nothing for
// any other line.
std::optional<std::string> BoardFirmware::CarryOutSetOrQuery()
{
    if (lineTooLong_)
        return std::nullopt;
    if (line_ == "?")
        return "OK";
    if (line_ == "U?")
        return config_.Faults.WrongName ? WrongBoardName : config_.Name;
    if (line_ == "V?")
        return config_.Version;
    if (line_ == "S3" || line_ == "S5") {
        if (config_.Faults.NgToSettings)
            return "NG";
        filter_ = line_[1] == '3' ? Filter::Sinc3 : Filter::Sinc5Sinc1;
        return "OK";
    }
    if (line_.size() == 2 && line_[0] == 'F' && DigitValue(line_[1], RateCount) >= 0) {
        if (config_.Faults.NgToSettings)
            return "NG";
        rateIndex_ = DigitValue(line_[1], RateCount);
        return "OK";
    }
    return std::nullopt;
}

// "A", the mode digit 0..2 and five hexadecimal digits of the count. A count
// of zero is a run that is over before it began: nothing is sent.
bool BoardFirmware::StartRun(BoardTime t)
{
    if (lineTooLong_ || line_.size() != 7 || line_[0] != 'A' || line_[1] < '0' || line_[1] > '2')
        return false;
    std::uint64_t count = 0;
    for (std::size_t i = 2; i < 7; ++i) {
        const int digit = DigitValue(line_[i], CountBase);
        if (digit < 0)
            return false;
        count = count * CountBase + static_cast<std::uint64_t>(digit);
    }
    if (count == 0)
        return true;

    Run run;
    run.Mode = line_[1] - '0';
    run.Count = count;
    run.Start = t;
    run.UnitsPerSecond = run.Mode == 2 ? TwoChannelFrameRate(rateIndex_) : SampleRate(rateIndex_);
    run_ = run;
    return true;
}

void BoardFirmware::Reply(const std::string& text, BoardTime t, BoardOutput& out)
{
    std::string bytes = text;
    if (config_.Faults.Garbled) {
        for (char& c : bytes)
            c = static_cast<char>(c ^ 0x80);
    }
    bytes += CR;
    if (config_.Faults.ExtraBytes)
        bytes += '\n';
    // A queue left full by a run the host stopped reading swallows the reply.
    if (out.FreeBytes() < bytes.size())
        return;

    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (config_.Faults.SplitReply) {
        out.Write(data, text.size(), t);
        out.SendImmediate();
        out.Write(data + text.size(), bytes.size() - text.size(), t);
    } else {
        out.Write(data, bytes.size(), t);
    }
}

void BoardFirmware::Produce(BoardTime until, BoardOutput& out)
{
    while (run_ && !Stalled()) {
        const BoardTime due = DueTime(run_->Conversions + 1);
        if (due > until)
            return;
        if (out.FreeBytes() < UnitBytes()) {
            // Room comes back only when the host reads, which cannot happen
            // before until: every conversion up to then is lost.
            LoseConversionsUntil(until);
            return;
        }
        SendUnit(due, out);
    }
}

// When the conversion-th conversion (counting from 1) of the run is ready.
BoardTime BoardFirmware::DueTime(std::uint64_t conversion) const
{
    const long double ns = std::ceil(static_cast<long double>(conversion) * 1e9L / run_->UnitsPerSecond);
    return run_->Start + BoardTime(static_cast<BoardTime::rep>(ns));
}

std::size_t BoardFirmware::UnitBytes() const
{
    return run_->Mode == 2 ? 6 : 3;
}

bool BoardFirmware::Stalled() const
{
    const std::optional<std::uint64_t>& stall = config_.Faults.StallAfterSamples;
    return stall && run_->Sent >= *stall;
}

void BoardFirmware::SendUnit(BoardTime due, BoardOutput& out)
{
    const std::uint64_t conversion = run_->Conversions;
    const double seconds = std::chrono::duration<double>(due - run_->Start).count();
    std::uint8_t bytes[6];
    if (run_->Mode == 2) {
        PutCode(bytes, signals_.Code(0, conversion, seconds, rateIndex_, filter_));
        PutCode(bytes + 3, signals_.Code(1, conversion, seconds, rateIndex_, filter_));
    } else {
        PutCode(bytes, signals_.Code(run_->Mode, conversion, seconds, rateIndex_, filter_));
    }
    out.Write(bytes, UnitBytes(), due);

    ++run_->Conversions;
    if (++run_->Sent == run_->Count)
        run_.reset();
}

void BoardFirmware::LoseConversionsUntil(BoardTime until)
{
    // Estimate the last conversion due by until, then settle the rounding.
    const long double elapsed = static_cast<long double>((until - run_->Start).count()) * 1e-9L;
    std::uint64_t last = static_cast<std::uint64_t>(std::floor(elapsed * run_->UnitsPerSecond));
    const std::uint64_t first = run_->Conversions + 1;
    if (last < first)
        last = first;
    while (DueTime(last + 1) <= until)
        ++last;
    while (last > first && DueTime(last) > until)
        --last;
    lost_ += last - run_->Conversions;
    run_->Conversions = last;
}
