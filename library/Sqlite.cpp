#include "library/Sqlite.h"

namespace {

[[noreturn]] void Raise(int Code) { throw ESqlite{Code & 0xFF}; }

}  // namespace

void TSqliteDatabase::Open(const std::string& Path) {
  Close();
  const int Result = sqlite3_open_v2(Path.c_str(), &Handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (Result != SQLITE_OK) {
    Close();
    Raise(Result);
  }
  sqlite3_extended_result_codes(Handle, 0);
}

void TSqliteDatabase::Close() {
  // Every statement is finalised by its owner before the connection goes.
  if (Handle != nullptr) sqlite3_close_v2(Handle);
  Handle = nullptr;
}

void TSqliteDatabase::Execute(const char* Sql) {
  const int Result = sqlite3_exec(Handle, Sql, nullptr, nullptr, nullptr);
  if (Result != SQLITE_OK) Raise(Result);
}

TSqliteStatement::TSqliteStatement(const TSqliteDatabase& Owner, const char* Sql) : Database(Owner.Get()) {
  const int Result = sqlite3_prepare_v2(Database, Sql, -1, &Handle, nullptr);
  if (Result != SQLITE_OK) Raise(Result);
}

TSqliteStatement& TSqliteStatement::operator=(TSqliteStatement&& Other) noexcept {
  if (this != &Other) {
    sqlite3_finalize(Handle);
    Handle = Other.Handle;
    Database = Other.Database;
    Other.Handle = nullptr;
  }
  return *this;
}

TSqliteStatement& TSqliteStatement::Bind(int Index, std::int64_t Value) {
  if (sqlite3_bind_int64(Handle, Index, Value) != SQLITE_OK) Raise(sqlite3_errcode(Database));
  return *this;
}

TSqliteStatement& TSqliteStatement::Bind(int Index, std::string_view Text) {
  if (sqlite3_bind_text(Handle, Index, Text.data(), static_cast<int>(Text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
    Raise(sqlite3_errcode(Database));
  return *this;
}

TSqliteStatement& TSqliteStatement::BindNull(int Index) {
  if (sqlite3_bind_null(Handle, Index) != SQLITE_OK) Raise(sqlite3_errcode(Database));
  return *this;
}

bool TSqliteStatement::Step() {
  const int Result = sqlite3_step(Handle);
  if (Result == SQLITE_ROW) return true;
  if (Result == SQLITE_DONE) return false;
  // The statement's error, then ready for another try.
  sqlite3_reset(Handle);
  Raise(Result);
}

void TSqliteStatement::Run() {
  Step();
  Reset();
}

void TSqliteStatement::Reset() { sqlite3_reset(Handle); }

std::string_view TSqliteStatement::Text(int Column) const {
  const unsigned char* Data = sqlite3_column_text(Handle, Column);
  return Data ? std::string_view(reinterpret_cast<const char*>(Data),
                                 static_cast<std::size_t>(sqlite3_column_bytes(Handle, Column)))
              : std::string_view();
}
