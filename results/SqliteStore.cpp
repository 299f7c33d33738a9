#include "SqliteStore.h"

#include <QElapsedTimer>
#include <QThread>

#include <sqlite3.h>

#include <cctype>

namespace {

// Finalizes the statement however its run ends.
class Statement {
public:
    explicit Statement(sqlite3_stmt* statement)
        : statement_(statement)
    {
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

int Bind(sqlite3_stmt* statement, int index, const SqlValue& value)
{
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return sqlite3_bind_int64(statement, index, *whole);
    if (const auto* real = std::get_if<double>(&value))
        return sqlite3_bind_double(statement, index, *real);
    if (const auto* text = std::get_if<QString>(&value)) {
        const QByteArray utf8 = text->toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    return sqlite3_bind_null(statement, index);
}

SqlValue Column(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_NULL:
        return SqlValue();
    default:
        break;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

// The statement with SQLite's own parameters for "$N". When they come in
// order, $1 first, each once (as in all statements of ours), they become
// "?", bound by position; else "?N", bound by number. SQLite would take
// "$N" as a name, and looks names and numbers up one by one when it reads
// the statement, which for a statement of many rows costs more than
// running it. (Our statements hold no quoted texts where a "$" could stand.)
QByteArray Positional(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    QByteArray positional;
    positional.reserve(text.size());
    int expected = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        positional += text[i] == '$' ? '?' : text[i];
        if (text[i] != '$')
            continue;
        qsizetype end = i + 1;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        if (text.mid(i + 1, end - i - 1).toInt() != expected++)
            return QByteArray(text).replace('$', '?');
        i = end - 1;
    }
    return positional;
}

} // namespace

std::unique_ptr<SqliteStore> SqliteStore::Open(const QString& path, QString& error)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = QStringLiteral("cannot open the results database %1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    std::unique_ptr<SqliteStore> store(new SqliteStore(db, path));
    std::vector<SqlRow> mode;
    // Two processes opening a new file both turn it to WAL; SQLite tells the
    // one that would wait for the other in a deadlock at once, past the
    // busy timeout, and it tries again.
    QElapsedTimer waited;
    waited.start();
    bool walSet = false;
    while (!(walSet = store->Select(QStringLiteral("PRAGMA journal_mode = WAL"), {}, mode))
           && (sqlite3_errcode(db) & 0xff) == SQLITE_BUSY && waited.elapsed() < BusyTimeoutMs)
        QThread::msleep(10);
    if (!walSet || !store->Execute(QStringLiteral("PRAGMA foreign_keys = ON"))) {
        error = store->Error();
        return nullptr;
    }
    return store;
}

SqliteStore::SqliteStore(sqlite3* db, const QString& path)
    : db_(db)
    , path_(path)
{
}

SqliteStore::~SqliteStore()
{
    sqlite3_close(db_);
}

// Taking the write lock at the start: a reader that wants to write later
// may find another writer in between, which no waiting resolves.
bool SqliteStore::BeginWrite()
{
    return Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

bool SqliteStore::BeginSchemaChange()
{
    return BeginWrite();
}

QString SqliteStore::IdColumnType() const
{
    return QStringLiteral("INTEGER PRIMARY KEY");
}

bool SqliteStore::Run(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>* rows)
{
    sqlite3_stmt* prepared = nullptr;
    const QByteArray text = Positional(sql);
    if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &prepared, nullptr) != SQLITE_OK)
        return Refused();
    const Statement statement(prepared);
    if (sqlite3_bind_parameter_count(prepared) != static_cast<int>(parameters.size()))
        return Fail(QStringLiteral("a statement of %1 parameters given %2")
                        .arg(sqlite3_bind_parameter_count(prepared))
                        .arg(parameters.size()));
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (Bind(prepared, static_cast<int>(i) + 1, parameters[i]) != SQLITE_OK)
            return Refused();
    }
    const int columns = sqlite3_column_count(prepared);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        if (rows == nullptr)
            continue;
        SqlRow& row = rows->emplace_back();
        for (int column = 0; column < columns; ++column)
            row.push_back(Column(prepared, column));
    }
    return step == SQLITE_DONE || Refused();
}

bool SqliteStore::Refused()
{
    return Fail(QStringLiteral("the results database %1: %2").arg(path_, QString::fromUtf8(sqlite3_errmsg(db_))));
}
