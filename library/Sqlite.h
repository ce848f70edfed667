#pragma once
// Thin owners of an SQLite connection and of a prepared statement, closed
// and finalised on every path. A failing call raises ESqlite with SQLite's
// result code, which the index catches: no SQLite error leaves the library.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

struct ESqlite {
  int Code;  // the primary result code: SQLITE_CORRUPT, SQLITE_BUSY, ...
  // Whether the file is not a database or is damaged: it is then rebuilt.
  bool Damaged() const { return Code == SQLITE_CORRUPT || Code == SQLITE_NOTADB; }
};

class TSqliteDatabase {
 public:
  TSqliteDatabase() = default;
  ~TSqliteDatabase() { Close(); }
  TSqliteDatabase(const TSqliteDatabase&) = delete;
  TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

  // Opens (creating) the database at Path, a UTF-8 path. Raises ESqlite.
  void Open(const std::string& Path);
  void Close();
  bool IsOpen() const { return Handle != nullptr; }
  sqlite3* Get() const { return Handle; }
  // Runs statements that return no rows. Raises ESqlite.
  void Execute(const char* Sql);

 private:
  sqlite3* Handle = nullptr;
};

class TSqliteStatement {
 public:
  TSqliteStatement() = default;
  // Prepares Sql on Database. Raises ESqlite.
  TSqliteStatement(const TSqliteDatabase& Database, const char* Sql);
  ~TSqliteStatement() { sqlite3_finalize(Handle); }
  TSqliteStatement(TSqliteStatement&& Other) noexcept : Handle(Other.Handle) { Other.Handle = nullptr; }
  TSqliteStatement& operator=(TSqliteStatement&& Other) noexcept;
  TSqliteStatement(const TSqliteStatement&) = delete;
  TSqliteStatement& operator=(const TSqliteStatement&) = delete;

  // Parameters are numbered from 1; texts are copied.
  TSqliteStatement& Bind(int Index, std::int64_t Value);
  TSqliteStatement& Bind(int Index, std::string_view Text);
  TSqliteStatement& BindNull(int Index);
  // The next row: true while there is one. Raises ESqlite.
  bool Step();
  // Step for a statement that returns no rows, then Reset.
  void Run();
  // Ready to run again; the bindings stay.
  void Reset();

  std::int64_t Integer(int Column) const { return sqlite3_column_int64(Handle, Column); }
  bool IsNull(int Column) const { return sqlite3_column_type(Handle, Column) == SQLITE_NULL; }
  std::string_view Text(int Column) const;

 private:
  sqlite3_stmt* Handle = nullptr;
  sqlite3* Database = nullptr;
};
