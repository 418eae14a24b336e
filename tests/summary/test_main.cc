// The summary tests run the programs' preparation form, which needs an application object.
#include <gtest/gtest.h>

#include <QApplication>

#include "work_table_prep.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    fixture::releasePreparationForm();
    return result;
}
