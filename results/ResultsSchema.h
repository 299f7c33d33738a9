#pragma once

#include <QString>

class ResultsStore;

// The tables of the results, the same in SQLite and PostgreSQL, and the
// migrations that lead to them. The table schema_version holds the version
// a database is at; opening it applies the migrations it lacks, in one
// transaction that only one program at a time runs. A database of a newer
// version than this program knows is refused, untouched.
class ResultsSchema {
public:
    static constexpr int Version = 1;

    static bool Migrate(ResultsStore& store, QString& error);
};
