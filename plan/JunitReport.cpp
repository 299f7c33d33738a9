#include "JunitReport.h"

#include <QLocale>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

QString Seconds(std::int64_t ms)
{
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 3);
}

QString StepName(const StepResult& step)
{
    return step.Repeat > 1 ? QStringLiteral("%1 #%2").arg(step.Step).arg(step.Repeat) : step.Step;
}

QString Describe(const Measurement& m)
{
    const auto text = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'g', QLocale::FloatingPointShortest) : QStringLiteral("-");
    };
    return QStringLiteral("%1 = %2 %3 (low %4, high %5, marginal %6..%7): %8")
        .arg(m.Name(), QString::number(m.Value, 'g', QLocale::FloatingPointShortest), PlanFigures::Unit(m.Figure),
             text(m.Limit.Low), text(m.Limit.High), text(m.Limit.MarginalLow), text(m.Limit.MarginalHigh),
             VerdictName(m.Outcome));
}

struct Tally {
    int Tests = 0;
    int Failures = 0;
    int Errors = 0;
};

Tally Count(const BoardRecord& record)
{
    Tally tally;
    for (const StepResult& step : record.Steps) {
        if (step.Outcome == Verdict::Error && step.Measurements.empty()) {
            ++tally.Tests;
            ++tally.Errors;
        }
        for (const Measurement& m : step.Measurements) {
            ++tally.Tests;
            tally.Failures += m.Outcome == Verdict::Fail ? 1 : 0;
        }
    }
    if (!record.Error.isEmpty() && record.Steps.empty()) {
        ++tally.Tests;
        ++tally.Errors;
    }
    return tally;
}

void WriteStep(QXmlStreamWriter& xml, const StepResult& step)
{
    const QString className = StepName(step);
    if (step.Outcome == Verdict::Error && step.Measurements.empty()) {
        xml.writeStartElement(QStringLiteral("testcase"));
        xml.writeAttribute(QStringLiteral("classname"), className);
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("run"));
        xml.writeAttribute(QStringLiteral("time"), Seconds(step.EndMs - step.StartMs));
        xml.writeStartElement(QStringLiteral("error"));
        xml.writeAttribute(QStringLiteral("message"), step.Error);
        xml.writeEndElement();
        xml.writeEndElement();
        return;
    }
    for (const Measurement& m : step.Measurements) {
        xml.writeStartElement(QStringLiteral("testcase"));
        xml.writeAttribute(QStringLiteral("classname"), className);
        xml.writeAttribute(QStringLiteral("name"), m.Name());
        xml.writeAttribute(QStringLiteral("time"), Seconds(step.EndMs - step.StartMs));
        if (m.Outcome == Verdict::Fail) {
            xml.writeStartElement(QStringLiteral("failure"));
            xml.writeAttribute(QStringLiteral("message"), Describe(m));
            xml.writeEndElement();
        } else {
            xml.writeTextElement(QStringLiteral("system-out"), Describe(m));
        }
        xml.writeEndElement();
    }
}

} // namespace

QByteArray JunitReport::Write(const std::vector<BoardRecord>& records)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    for (const BoardRecord& record : records) {
        const Tally tally = Count(record);
        xml.writeStartElement(QStringLiteral("testsuite"));
        xml.writeAttribute(QStringLiteral("name"), record.Serial);
        xml.writeAttribute(QStringLiteral("tests"), QString::number(tally.Tests));
        xml.writeAttribute(QStringLiteral("failures"), QString::number(tally.Failures));
        xml.writeAttribute(QStringLiteral("errors"), QString::number(tally.Errors));
        xml.writeAttribute(QStringLiteral("time"), Seconds(record.EndMs - record.StartMs));
        xml.writeAttribute(QStringLiteral("hostname"), record.Station);
        if (!record.Error.isEmpty() && record.Steps.empty()) {
            xml.writeStartElement(QStringLiteral("testcase"));
            xml.writeAttribute(QStringLiteral("classname"), record.PlanName);
            xml.writeAttribute(QStringLiteral("name"), QStringLiteral("board"));
            xml.writeStartElement(QStringLiteral("error"));
            xml.writeAttribute(QStringLiteral("message"), record.Error);
            xml.writeEndElement();
            xml.writeEndElement();
        }
        for (const StepResult& step : record.Steps)
            WriteStep(xml, step);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
