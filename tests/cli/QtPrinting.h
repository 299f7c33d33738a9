#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Test failures show Qt texts as text rather than as bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{';
    for (const QString& text : texts) {
        PrintTo(text, out);
        *out << (&text == &texts.back() ? "" : ", ");
    }
    *out << '}';
}
