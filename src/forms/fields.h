// Persistent fields of a query: the columns a grid or a report shows, with their
// display labels, widths, alignment and number format. Plain C++, no widgets.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace engine { class Query; }

namespace forms {

enum class Alignment { Left, Right, Center };

class Field {
public:
    Field(std::string name, std::string fieldName, engine::Query* dataSet);
    virtual ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    // Whoever points at the field (a grid column) hears when it is destroyed, so that
    // the field may go before them. `owner` names the listener for its removal.
    void addReleaseListener(const void* owner, std::function<void()> released);
    void removeReleaseListener(const void* owner);

    const std::string& name() const { return name_; }            // component name
    const std::string& fieldName() const { return fieldName_; }  // column of the query
    engine::Query* dataSet() const { return dataSet_; }

    std::string displayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void setDisplayLabel(std::string label) { displayLabel_ = std::move(label); }
    int displayWidth() const { return displayWidth_; }
    void setDisplayWidth(int width) { displayWidth_ = width; }
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment a) { alignment_ = a; }

    // The current row's value; NULL when the query is closed or empty.
    bool isNull() const;
    std::string asString() const;
    double asFloat() const;
    // What a grid cell or a report text shows for the current row.
    virtual std::string displayText() const;

protected:
    std::string name_;
    std::string fieldName_;
    engine::Query* dataSet_;
    std::string displayLabel_;
    int displayWidth_ = 20;
    Alignment alignment_ = Alignment::Left;
    std::vector<std::pair<const void*, std::function<void()>>> releaseListeners_;
};

class StringField : public Field {
public:
    StringField(std::string name, std::string fieldName, engine::Query* dataSet, int size);
    int size() const { return size_; }
    bool fixedChar() const { return fixedChar_; }
    void setFixedChar(bool on) { fixedChar_ = on; }

private:
    int size_;
    bool fixedChar_ = false;
};

class FloatField : public Field {
public:
    FloatField(std::string name, std::string fieldName, engine::Query* dataSet);
    const std::string& displayFormat() const { return displayFormat_; }
    void setDisplayFormat(std::string format) { displayFormat_ = std::move(format); }
    std::string displayText() const override;  // NULL shows empty

private:
    std::string displayFormat_;
};

// Formats a number by a display format of '#', '0', ',' and '.' ("#,###": thousands
// separated, no decimals, zero shown empty). An empty format gives the plain number.
std::string formatFloat(const std::string& format, double value);

}  // namespace forms
