#include "query.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "database.h"
#include "driver.h"
#include "error.h"
#include "trace.h"

namespace engine {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool endsName(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
}

// Splits text into lines at CR LF, LF or CR.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty() || lines.empty()) lines.push_back(cur);
    return lines;
}

}  // namespace

// ---- statement lines ----

void SqlLines::clear() {
    lines_.clear();
    if (changed_) changed_();
}

void SqlLines::add(const std::string& line) {
    lines_.push_back(line);
    if (changed_) changed_();
}

std::string SqlLines::text() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// ---- parameters ----

std::vector<std::string> parseParamNames(const std::string& text) {
    std::vector<std::string> names;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\'' || c == '"') {  // quoted text: skip to the closing quote
            const size_t close = text.find(c, i + 1);
            if (close == std::string::npos) break;
            i = close;
        } else if (c == '-' && i + 1 < n && text[i + 1] == '-') {  // comment to the line end
            while (i < n && text[i] != '\n' && text[i] != '\r') ++i;
        } else if (c == ':') {
            if (i + 1 < n && text[i + 1] == ':') { ++i; continue; }  // "::" is a plain colon
            size_t j = i + 1;
            while (j < n && !endsName(text[j])) ++j;
            if (j > i + 1) names.push_back(text.substr(i + 1, j - i - 1));
            i = j - 1;
        }
    }
    return names;
}

void Param::setAsString(const std::string& value) {
    if (owner_) owner_->setShared(lower(name_), value);
    else value_ = value;
}

void Param::clear() {
    if (owner_) owner_->setShared(lower(name_), std::nullopt);
    else value_.reset();
}

// ---- the query ----

const Value Query::nullValue_{};

Query::Query(std::string databaseName) : databaseName_(std::move(databaseName)) {
    sql_.changed_ = [this] { textChanged(); };
}

Query::~Query() = default;

void Query::setText(const std::string& text) {
    sql_.lines_ = splitLines(text);
    textChanged();
}

void Query::textChanged() {
    close();
    // Values survive a text change for the names that are still there.
    std::vector<Param> old = std::move(params_);
    params_.clear();
    for (const auto& name : parseParamNames(sql_.text())) {
        Param p;
        p.name_ = name;
        p.owner_ = this;
        for (const auto& o : old)
            if (lower(o.name_) == lower(name)) { p.value_ = o.value_; break; }
        params_.push_back(std::move(p));
    }
}

Param& Query::paramByName(const std::string& name) {
    const std::string key = lower(name);
    for (auto& p : params_)
        if (lower(p.name_) == key) return p;
    throw DatabaseError("Parameter '" + name + "' not found", sql_.text());
}

void Query::setShared(const std::string& lowerName, const std::optional<std::string>& value) {
    for (auto& p : params_)
        if (lower(p.name_) == lowerName) p.value_ = value;
}

std::vector<std::optional<std::string>> Query::valuesFor(const std::vector<std::string>& names) const {
    std::vector<std::optional<std::string>> values;
    values.reserve(names.size());
    for (const auto& name : names) {
        std::optional<std::string> v;
        for (const auto& p : params_)
            if (lower(p.name_) == name) { v = p.value_; break; }
        values.push_back(std::move(v));
    }
    return values;
}

void Query::prepare() {
    // Statements are translated and checked when they run; preparing only needs a connection.
    databaseForAlias(databaseName_).connection();
}

static ResultSet runStatement(const std::string& alias, const std::string& text,
                              const std::vector<Param>& params,
                              const std::function<std::vector<std::optional<std::string>>(
                                  const std::vector<std::string>&)>& valuesFor,
                              bool isSelect) {
    TraceEntry trace;
    trace.alias = alias;
    trace.text = text;
    trace.isSelect = isSelect;
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& p : params) shown.emplace_back(p.name(), p.isNull() ? "<NULL>" : p.asString());
    trace.params = shown;
    const auto start = std::chrono::steady_clock::now();
    Database& database = databaseForAlias(alias);
    bool sent = false;
    try {
        Driver& driver = database.connection();
        const TranslatedStatement st = driver.translate(text);
        trace.sent = st.sql;
        sent = true;
        ResultSet result = driver.execute(st, valuesFor(st.paramNames));
        trace.rows = isSelect ? static_cast<long long>(result.rows.size()) : result.rowsChanged;
        trace.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        traceStatement(trace);
        return result;
    } catch (const DatabaseError& e) {
        // A statement that broke the connection says so, in place of the backend's words.
        const std::string message =
            sent && database.connectionBroken() ? database.lostConnectionMessage(e.what()) : e.what();
        trace.error = message;
        trace.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        traceStatement(trace);
        throw DatabaseError(message, text, shown);
    }
}

void Query::execSql() {
    ResultSet r = runStatement(databaseName_, sql_.text(), params_,
                               [this](const std::vector<std::string>& n) { return valuesFor(n); }, false);
    rowsAffected_ = r.rowsChanged;
}

void Query::open() {
    if (active_) return;
    ResultSet r = runStatement(databaseName_, sql_.text(), params_,
                               [this](const std::vector<std::string>& n) { return valuesFor(n); }, true);
    columns_ = std::move(r.columns);
    rows_ = std::move(r.rows);
    active_ = true;
    current_ = rows_.empty() ? -1 : 0;
    notify();
}

std::vector<std::string> Query::plans() const {
    Driver& driver = databaseForAlias(databaseName_).connection();
    const TranslatedStatement st = driver.translate(sql_.text());
    return driver.plans(st, valuesFor(st.paramNames));
}

void Query::close() {
    const bool was = active_;
    active_ = false;
    rows_.clear();
    columns_.clear();
    current_ = -1;
    if (was) notify();
}

int Query::recordCount() const { return active_ ? static_cast<int>(rows_.size()) : 0; }

void Query::first() { current_ = rows_.empty() ? -1 : 0; }

void Query::next() {
    if (current_ >= 0 && current_ < static_cast<int>(rows_.size())) ++current_;
}

bool Query::eof() const { return !active_ || rows_.empty() || current_ >= static_cast<int>(rows_.size()); }

void Query::moveTo(int row) {
    if (row >= 0 && row < static_cast<int>(rows_.size())) current_ = row;
}

bool Query::hasField(const std::string& name) const {
    const std::string key = lower(name);
    return std::any_of(columns_.begin(), columns_.end(), [&](const std::string& c) { return lower(c) == key; });
}

FieldValue Query::fieldByName(const std::string& name) const {
    const std::string key = lower(name);
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (lower(columns_[i]) != key) continue;
        if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) return FieldValue(&nullValue_);
        return FieldValue(&rows_[current_][i]);
    }
    throw DatabaseError("Field '" + name + "' not found");
}

FieldValue Query::field(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size())) throw DatabaseError("Field index out of range");
    if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) return FieldValue(&nullValue_);
    return FieldValue(&rows_[current_][static_cast<size_t>(column)]);
}

int Query::addListener(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void Query::removeListener(int id) {
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [id](const auto& l) { return l.first == id; }),
                     listeners_.end());
}

void Query::disableControls() { ++disabledDepth_; }

void Query::enableControls() {
    if (disabledDepth_ > 0) --disabledDepth_;
    if (disabledDepth_ == 0) {
        pendingNotify_ = true;
        notify();
    }
}

void Query::notify() {
    if (disabledDepth_ > 0) { pendingNotify_ = true; return; }
    pendingNotify_ = false;
    const auto copy = listeners_;
    for (const auto& [id, listener] : copy) listener();
}

}  // namespace engine
