// Report tests need a GUI application for fonts, painting and the preview window.
#include <gtest/gtest.h>

#include <QApplication>

#include "forms/font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    forms::installKoreanFace();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
