// A statement on a database alias, used the way the programs use their query
// components: statement lines, named text parameters, execSql() for changes,
// open()/first()/next() for selects with every row held in memory.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "value.h"

namespace engine {

// The statement's lines; joined with CR LF into the statement text.
class SqlLines {
public:
    void clear();
    void add(const std::string& line);
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const;

private:
    friend class Query;
    std::vector<std::string> lines_;
    std::function<void()> changed_;
};

// One parameter entry; all entries of one name (compared without regard to case)
// share one value.
class Param {
public:
    const std::string& name() const { return name_; }
    void setAsString(const std::string& value);
    void clear();  // back to NULL
    bool isNull() const { return !value_.has_value(); }
    std::string asString() const { return value_.value_or(""); }

private:
    friend class Query;
    std::string name_;
    std::optional<std::string> value_;
    class Query* owner_ = nullptr;
};

// Parses statement text into its parameter names, one per occurrence, in text order.
// A parameter is ':' and a name ending at a blank, comma, semicolon, ')' or the line end;
// "::" is a plain colon; a colon inside quotes or after "--" starts nothing.
std::vector<std::string> parseParamNames(const std::string& text);

// The current row's value of one column; a view into the query.
class FieldValue {
public:
    bool isNull() const { return value_->isNull(); }
    std::string asString() const { return value_->asString(); }
    double asFloat() const { return value_->asFloat(); }
    const Value& value() const { return *value_; }

private:
    friend class Query;
    explicit FieldValue(const Value* v) : value_(v) {}
    const Value* value_;
};

class Query {
public:
    explicit Query(std::string databaseName = "Account");
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const std::string& databaseName() const { return databaseName_; }
    void setDatabaseName(const std::string& name) { databaseName_ = name; }

    // Statement text. Changing it closes the query and re-reads the parameter entries.
    SqlLines& sql() { return sql_; }
    const SqlLines& sql() const { return sql_; }
    void setText(const std::string& text);  // replaces the lines with the text's lines

    // Parameter entries in text order, and look-up by name without regard to case.
    const std::vector<Param>& params() const { return params_; }
    // The first entry of that name; throws DatabaseError "Parameter 'x' not found".
    Param& paramByName(const std::string& name);

    // Changes: prepare (optional) and run. Throws DatabaseError.
    void prepare();
    void execSql();
    long long rowsAffected() const { return rowsAffected_; }

    // Selects.
    void open();   // runs the statement, holds every row; throws DatabaseError
    void close();  // drops the rows
    bool active() const { return active_; }
    int recordCount() const;  // 0 when closed or empty
    void first();
    void next();
    bool eof() const;
    int recNo() const { return current_; }  // 0-based current row, -1 when none
    void moveTo(int row);                   // makes row the current one (grid painting)

    // The backend's plan of each statement that open() or execSql() would send with the
    // current parameter values. Throws DatabaseError.
    std::vector<std::string> plans() const;

    const std::vector<std::string>& columnNames() const { return columns_; }
    bool hasField(const std::string& name) const;
    // The current row's value of a column, found without regard to case.
    // Throws DatabaseError "Field 'x' not found" for an unknown column.
    FieldValue fieldByName(const std::string& name) const;
    FieldValue field(int column) const;  // by position, 0-based

    // Data-aware controls: listeners hear of open, close and row moves while controls
    // are enabled; enableControls() notifies once after a disabled stretch.
    using Listener = std::function<void()>;
    int addListener(Listener listener);
    void removeListener(int id);
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabledDepth_ > 0; }
    // Expires when the query is destroyed, so a listener that may outlive it can tell.
    std::weak_ptr<const void> lifetime() const { return alive_; }

private:
    friend class Param;
    void textChanged();
    void setShared(const std::string& lowerName, const std::optional<std::string>& value);
    void notify();
    std::vector<std::optional<std::string>> valuesFor(const std::vector<std::string>& names) const;

    std::string databaseName_;
    SqlLines sql_;
    std::vector<Param> params_;
    bool active_ = false;
    std::vector<std::string> columns_;
    std::vector<std::vector<Value>> rows_;
    int current_ = -1;
    long long rowsAffected_ = 0;
    int disabledDepth_ = 0;
    bool pendingNotify_ = false;
    int nextListener_ = 1;
    std::vector<std::pair<int, Listener>> listeners_;
    std::shared_ptr<const void> alive_ = std::make_shared<int>(0);
    static const Value nullValue_;
};

}  // namespace engine
