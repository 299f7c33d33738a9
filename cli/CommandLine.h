#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The words after the command: options a command knows, each a flag
// ("--volt"), taking a value ("--rate 100sps" or "--rate=100sps") or taking
// one only after "=" ("--reconnect" or "--reconnect=60"), and the positional
// words. "--" ends the options. An unknown option, a missing value or an
// option given twice is an error, unless the option repeats ("--board A
// --board B").
class CommandLine {
public:
    struct Option {
        QString Name;
        bool TakesValue;
        // The value only as "--name=value"; "--name" alone has an empty value.
        bool ValueOptional = false;
        bool Repeats = false;
    };

    bool Parse(const QStringList& words, const std::vector<Option>& known);

    // A number of seconds above 0 ("20", "0.5"), or nothing.
    static std::optional<double> ParseSeconds(const QString& text);

    // Why Parse failed.
    QString Error() const { return error_; }
    const QStringList& Positional() const { return positional_; }
    bool Has(const QString& name) const { return values_.contains(name); }
    QString Value(const QString& name) const { return values_.value(name).value(0); }
    // Every value of a repeating option, in the order given.
    QStringList Values(const QString& name) const { return values_.value(name); }

private:
    const Option* Find(const QString& name, const std::vector<Option>& known) const;
    bool Fail(const QString& error);

    QMap<QString, QStringList> values_;
    QStringList positional_;
    QString error_;
};
