// The one error type of the database layer. Its message is what the user sees;
// the failing statement and its parameter values are kept for diagnosis.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace engine {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& message,
                           std::string statement = {},
                           std::vector<std::pair<std::string, std::string>> params = {})
        : std::runtime_error(message), statement_(std::move(statement)), params_(std::move(params)) {}

    const std::string& statement() const { return statement_; }
    const std::vector<std::pair<std::string, std::string>>& params() const { return params_; }

private:
    std::string statement_;
    std::vector<std::pair<std::string, std::string>> params_;
};

}  // namespace engine
