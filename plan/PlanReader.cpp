#include "PlanReader.h"

#include "MeasureItems.h"

#include <QCryptographicHash>
#include <QFile>

#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>

#include <string_view>

namespace {

// A fault at a place in the file, carried up to the reader's one message.
struct PlanFault {
    toml::source_position Where;
    QString What;
};

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void Refuse(const toml::node& node, const QString& what)
{
    throw PlanFault{node.source().begin, what};
}

void OnlyKnownKeys(const toml::table& table, std::initializer_list<std::string_view> known, const QString& where)
{
    for (const auto& [key, value] : table) {
        if (std::find(known.begin(), known.end(), key.str()) == known.end())
            Refuse(value, QStringLiteral("unknown key \"%1\" in %2").arg(Text(key.str()), where));
    }
}

const toml::node& Required(const toml::table& table, std::string_view key, const toml::node& owner, const QString& where)
{
    const toml::node* node = table.get(key);
    if (node == nullptr)
        Refuse(owner, QStringLiteral("%1 has no %2").arg(where, Text(key)));
    return *node;
}

QString String(const toml::node& node, std::string_view key)
{
    if (const auto text = node.value_exact<std::string>())
        return QString::fromStdString(*text);
    Refuse(node, QStringLiteral("%1 must be a text in quotes").arg(Text(key)));
}

// A version may be written as a text or a whole number.
QString Version(const toml::node& node)
{
    if (const auto number = node.value_exact<std::int64_t>())
        return QString::number(*number);
    return String(node, "version");
}

std::int64_t Integer(const toml::node& node, std::string_view key)
{
    if (const auto number = node.value_exact<std::int64_t>())
        return *number;
    Refuse(node, QStringLiteral("%1 must be a whole number").arg(Text(key)));
}

double Number(const toml::node& node, std::string_view key)
{
    if (!node.is_number())
        Refuse(node, QStringLiteral("%1 must be a number").arg(Text(key)));
    return *node.value<double>();
}

std::pair<double, double> Band(const toml::node& node)
{
    const toml::array* band = node.as_array();
    if (band == nullptr || band->size() != 2)
        Refuse(node, QStringLiteral("band must be [LOW_HZ, HIGH_HZ]"));
    return {Number(*band->get(0), "band"), Number(*band->get(1), "band")};
}

FigureLimit Limit(const toml::key& name, const toml::node& node)
{
    const std::optional<PlanFigure> figure = PlanFigures::Parse(Text(name.str()));
    if (!figure)
        Refuse(node, QStringLiteral("unknown figure \"%1\"; the figures are %2").arg(Text(name.str()), PlanFigures::Known()));
    const toml::table* table = node.as_table();
    if (table == nullptr)
        Refuse(node, QStringLiteral("%1 must be a table such as { high = 1.0 }").arg(Text(name.str())));
    OnlyKnownKeys(*table, {"low", "high", "marginal_low", "marginal_high", "band"}, Text(name.str()));
    FigureLimit limit;
    limit.Figure = *figure;
    const auto optionalNumber = [&](std::string_view key) -> std::optional<double> {
        const toml::node* value = table->get(key);
        return value == nullptr ? std::nullopt : std::optional<double>(Number(*value, key));
    };
    limit.Low = optionalNumber("low");
    limit.High = optionalNumber("high");
    limit.MarginalLow = optionalNumber("marginal_low");
    limit.MarginalHigh = optionalNumber("marginal_high");
    if (const toml::node* band = table->get("band"))
        limit.Band = Band(*band);
    const QString fault = limit.Fault();
    if (!fault.isEmpty())
        Refuse(node, QStringLiteral("%1: %2").arg(Text(name.str()), fault));
    return limit;
}

// The rate and count by their list items only: an index, allowed on the
// command line, would make "count = 3" a run of 1000 samples.
MeasureSettings Settings(const toml::table& table, const toml::node& owner)
{
    const QString where = QStringLiteral("the step");
    MeasureSettings settings;
    const toml::node& rateNode = Required(table, "rate", owner, where);
    const QString rate = String(rateNode, "rate");
    bool number = false;
    rate.toInt(&number);
    const std::optional<int> spsSel = number ? std::nullopt : MeasureItems::ParseRate(rate);
    if (!spsSel)
        Refuse(rateNode, QStringLiteral("unknown rate \"%1\"").arg(rate));
    settings.spsSel = *spsSel;

    const toml::node& countNode = Required(table, "count", owner, where);
    const std::int64_t count = Integer(countNode, "count");
    const std::optional<int> countSel = MeasureItems::ParseCount(QString::number(count));
    if (!countSel || MeasureItems::CountValue(*countSel) != count)
        Refuse(countNode, QStringLiteral("count %1 is not an item of the count list").arg(count));
    settings.DataCountSel = *countSel;

    const toml::node& channelNode = Required(table, "channel", owner, where);
    const std::int64_t channel = Integer(channelNode, "channel");
    if (channel < ModeCh0 || channel > ModeDual)
        Refuse(channelNode, QStringLiteral("channel must be 0, 1 or 2 (CH0 + CH1)"));
    settings.CHSel = static_cast<std::int32_t>(channel);

    const toml::node& filterNode = Required(table, "filter", owner, where);
    const std::optional<std::uint8_t> filter = MeasureItems::ParseFilter(String(filterNode, "filter"));
    if (!filter)
        Refuse(filterNode, QStringLiteral("filter must be sinc3 or sinc5"));
    settings.fSinc5 = *filter;
    return settings;
}

PlanStep Step(const toml::node& node)
{
    const toml::table* table = node.as_table();
    if (table == nullptr)
        Refuse(node, QStringLiteral("each step must be a [[step]] table"));
    OnlyKnownKeys(*table, {"name", "rate", "count", "channel", "filter", "repeat", "limits"}, QStringLiteral("a step"));
    PlanStep step;
    step.Name = String(Required(*table, "name", node, QStringLiteral("a step")), "name");
    if (step.Name.trimmed().isEmpty())
        Refuse(node, QStringLiteral("a step's name must not be empty"));
    step.Settings = Settings(*table, node);
    if (const toml::node* repeat = table->get("repeat")) {
        const std::int64_t times = Integer(*repeat, "repeat");
        if (times < 1 || times > 1000)
            Refuse(*repeat, QStringLiteral("repeat must be 1 to 1000"));
        step.Repeat = static_cast<int>(times);
    }
    if (const toml::node* limits = table->get("limits")) {
        const toml::table* figures = limits->as_table();
        if (figures == nullptr)
            Refuse(*limits, QStringLiteral("limits must be a table"));
        for (const auto& [name, value] : *figures) {
            step.Limits.push_back(Limit(name, value));
            const double nyquist = MeasureItems::SampleRate(step.Settings) / 2.0;
            if (step.Limits.back().Band && step.Limits.back().Band->second > nyquist)
                Refuse(value, QStringLiteral("the band ends above %1 Hz, half this step's sample rate").arg(nyquist));
        }
    }
    return step;
}

TestPlan Plan(const toml::table& file)
{
    OnlyKnownKeys(file, {"plan", "step"}, QStringLiteral("the plan file"));
    TestPlan plan;
    const toml::node& head = Required(file, "plan", file, QStringLiteral("the file"));
    const toml::table* headTable = head.as_table();
    if (headTable == nullptr)
        Refuse(head, QStringLiteral("plan must be a [plan] table"));
    OnlyKnownKeys(*headTable, {"name", "version"}, QStringLiteral("[plan]"));
    plan.Name = String(Required(*headTable, "name", head, QStringLiteral("[plan]")), "name");
    if (const toml::node* version = headTable->get("version"))
        plan.Version = Version(*version);

    const toml::node& stepsNode = Required(file, "step", file, QStringLiteral("the plan"));
    const toml::array* steps = stepsNode.as_array();
    if (steps == nullptr || steps->empty())
        Refuse(stepsNode, QStringLiteral("the plan needs at least one [[step]]"));
    for (const toml::node& node : *steps) {
        PlanStep step = Step(node);
        if (plan.StepNamed(step.Name) != nullptr)
            Refuse(node, QStringLiteral("a second step named \"%1\"").arg(step.Name));
        plan.Steps.push_back(std::move(step));
    }
    return plan;
}

} // namespace

std::optional<TestPlan> PlanReader::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const auto at = [&](const toml::source_position& where, const QString& what) {
        return QStringLiteral("%1:%2:%3: %4").arg(path).arg(where.line).arg(where.column).arg(what);
    };
    try {
        const toml::table table = toml::parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        TestPlan plan = Plan(table);
        plan.Hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        return plan;
    } catch (const toml::parse_error& error) {
        error_ = at(error.source().begin, Text(error.description()));
    } catch (const PlanFault& fault) {
        error_ = at(fault.Where, fault.What);
    }
    return std::nullopt;
}
