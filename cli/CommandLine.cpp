#include "CommandLine.h"

bool CommandLine::Parse(const QStringList& words, const std::vector<Option>& known)
{
    values_.clear();
    positional_.clear();
    error_.clear();
    bool optionsEnded = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (optionsEnded || !word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
            positional_ << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        const Option* option = Find(name, known);
        if (!option)
            return Fail(QStringLiteral("unknown option %1").arg(name));
        if (values_.contains(name) && !option->Repeats)
            return Fail(QStringLiteral("%1 given twice").arg(name));
        if (!option->TakesValue) {
            if (equals >= 0)
                return Fail(QStringLiteral("%1 takes no value").arg(name));
            values_[name] << QString();
        } else if (equals >= 0) {
            if (option->ValueOptional && equals + 1 == word.size())
                return Fail(QStringLiteral("%1= needs a value").arg(name));
            values_[name] << word.mid(equals + 1);
        } else if (option->ValueOptional) {
            values_[name] << QString();
        } else if (i + 1 < words.size()) {
            values_[name] << words[++i];
        } else {
            return Fail(QStringLiteral("%1 needs a value").arg(name));
        }
    }
    return true;
}

std::optional<double> CommandLine::ParseSeconds(const QString& text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    // toDouble takes "inf" and "nan"; neither is a time.
    if (!ok || !(seconds > 0.0) || seconds > 1e6)
        return std::nullopt;
    return seconds;
}

const CommandLine::Option* CommandLine::Find(const QString& name, const std::vector<Option>& known) const
{
    for (const Option& option : known) {
        if (option.Name == name)
            return &option;
    }
    return nullptr;
}

bool CommandLine::Fail(const QString& error)
{
    error_ = error;
    return false;
}
