#include "data_source.h"

#include "engine/query.h"

namespace forms {

DataSource::DataSource(const std::string& name, QObject* parent) : QObject(parent) {
    setObjectName(QString::fromStdString(name));
}

DataSource::~DataSource() { detach(); }

void DataSource::setDataSet(engine::Query* query) {
    if (query == dataSet_) return;
    detach();
    dataSet_ = query;
    if (dataSet_) {
        dataSetAlive_ = dataSet_->lifetime();
        listenerId_ = dataSet_->addListener([this] { emit dataChanged(); });
    }
    emit dataChanged();
}

void DataSource::detach() {
    if (dataSet_ && listenerId_ && !dataSetAlive_.expired()) dataSet_->removeListener(listenerId_);
    dataSetAlive_.reset();
    dataSet_ = nullptr;
    listenerId_ = 0;
}

}  // namespace forms
