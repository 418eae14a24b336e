// The link between a query and the data-aware controls that show it. The data source
// listens to its data set and tells its controls when to refresh: when the query
// opens or closes, and once when its controls are enabled again after a stretch of
// disableControls(). While the controls are disabled the data source stays silent.
#pragma once

#include <QObject>
#include <memory>
#include <string>

namespace engine { class Query; }

namespace forms {

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(const std::string& name, QObject* parent = nullptr);
    ~DataSource() override;

    std::string name() const { return objectName().toStdString(); }

    // The attached query; a query destroyed before the data source is simply let go.
    engine::Query* dataSet() const { return dataSet_; }
    void setDataSet(engine::Query* query);

signals:
    // The data set changed in a way the controls must show (opened, closed, reopened,
    // controls re-enabled), or another data set was attached.
    void dataChanged();

private:
    void detach();

    engine::Query* dataSet_ = nullptr;
    std::weak_ptr<const void> dataSetAlive_;
    int listenerId_ = 0;
};

}  // namespace forms
