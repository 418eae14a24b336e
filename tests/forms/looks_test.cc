// What the controls look like and where the boxes appear: the grid's fixed cells on the
// button face, disabled buttons with greyed captions, message boxes centred on the
// screen's work area whatever window they belong to.
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "forms/bit_btn.h"
#include "forms/db_grid.h"
#include "forms/fields.h"
#include "forms/font.h"
#include "forms/form.h"
#include "forms/message_box.h"
#include "forms/panel.h"
#include "forms/platform.h"

namespace {

bool activate(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// Pixels of the image in `colour`, exactly.
int pixelsOf(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) ++count;
    return count;
}

// Pixels inside a button's frame whose red, green and blue differ by more than a
// rounding: anything not grey.
int colouredPixels(const QImage& image) {
    int count = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 8) ++count;
        }
    return count;
}

}  // namespace

class LooksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { forms::installKoreanFace(); }
    void gridTitlesAndIndicatorStandOnTheButtonFace();
    void disabledButtonsShowTheirCaptionsGreyed();
    void messageBoxesAreCentredOnTheWorkArea_data();
    void messageBoxesAreCentredOnTheWorkArea();
};

void LooksTest::gridTitlesAndIndicatorStandOnTheButtonFace() {
    forms::Form form("f");
    form.setColor(forms::kClBtnFace);
    form.resize(400, 200);
    auto* grid = new forms::DBGrid("grid", &form);
    grid->setGeometry(0, 40, 400, 160);
    grid->setFont(forms::gulimFont(12));
    grid->setTitleFont(forms::gulimFont(13));
    forms::StringField title("t", "AC_NAME", nullptr, 90);
    title.setDisplayLabel("계     정     과     목");
    title.setDisplayWidth(40);
    grid->addColumn(&title).setTitleAlignment(forms::Alignment::Center);
    QVERIFY(activate(&form));
    const QImage image = form.grab().toImage();

    const QColor buttonFace = form.palette().color(QPalette::Window);
    QCOMPARE(buttonFace, forms::kClBtnFace);
    // The title row beside its centred title, and the indicator column by the empty line.
    const QRect titles = grid->horizontalHeader()->geometry().translated(grid->pos());
    const QRect indicator = grid->verticalHeader()->geometry().translated(grid->pos());
    QCOMPARE(image.pixelColor(titles.left() + 4, titles.center().y()), buttonFace);
    QCOMPARE(image.pixelColor(titles.left() + 4, titles.top() + 3), buttonFace);
    QCOMPARE(image.pixelColor(indicator.left() + 3, indicator.top() + 5), buttonFace);
    // The cells stay on the window colour.
    const QPoint cell = grid->viewport()->mapTo(&form, grid->cellRect(0, 0).topLeft() + QPoint(3, 3));
    QCOMPARE(image.pixelColor(cell), grid->palette().color(QPalette::Base));
}

void LooksTest::disabledButtonsShowTheirCaptionsGreyed() {
    // One button in its own colour, one taking its panel's, as the main windows have them.
    forms::Form form("f");
    form.setColor(forms::kClBtnFace);
    auto* panel = new forms::Panel("panel", &form);
    panel->setGeometry(0, 0, 200, 40);
    forms::setControlFont(panel, forms::gulimFont(15, true), forms::kClGreen);
    auto* own = new forms::BitBtn("own", "&R실행", &form);
    own->setGeometry(0, 50, 80, 25);
    forms::setControlFont(own, forms::gulimFont(13, true), forms::kClMaroon);
    auto* inherited = new forms::BitBtn("inherited", "P 출력", panel);
    inherited->setGeometry(9, 7, 80, 25);
    QVERIFY(activate(&form));

    for (const auto& [button, colour] : {std::pair{own, forms::kClMaroon}, std::pair{inherited, forms::kClGreen}}) {
        QVERIFY2(pixelsOf(button->grab().toImage(), colour) > 0, "enabled, the caption is in the button's colour");
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        QCOMPARE(colouredPixels(disabled), 0);
        const QColor greyed = button->palette().color(QPalette::Disabled, QPalette::ButtonText);
        QVERIFY2(pixelsOf(disabled, greyed) > 0, "the caption is in the disabled text colour");
        button->setEnabled(true);
    }
}

void LooksTest::messageBoxesAreCentredOnTheWorkArea_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("warning") << static_cast<int>(forms::MessageKind::Warning);
    QTest::newRow("plain") << static_cast<int>(forms::MessageKind::Plain);
    QTest::newRow("error") << static_cast<int>(forms::MessageKind::Error);
}

void LooksTest::messageBoxesAreCentredOnTheWorkArea() {
    QFETCH(int, kind);
    const QRect area(100, 40, 700, 500);
    forms::setWorkArea(area);
    // The window the box belongs to lies in a corner of the screen.
    forms::Form owner("owner");
    owner.setGeometry(0, 0, 300, 200);
    QVERIFY(activate(&owner));

    QRect shown;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }, 3000)) return;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->frameGeometry();
        modal = box->isModal();
        QTest::keyClick(box, Qt::Key_Return);
    });
    forms::showMessage(static_cast<forms::MessageKind>(kind), "Warning", "종료일자보다 시작일자 더 큽니다......");
    forms::resetPlatform();
    QVERIFY(shown.isValid());
    QVERIFY(modal);
    QVERIFY2(std::abs(shown.center().x() - area.center().x()) <= 1 && std::abs(shown.center().y() - area.center().y()) <= 1,
             qPrintable(QString("box at %1,%2 %3x%4").arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())));
}

QTEST_MAIN(LooksTest)
#include "looks_test.moc"
