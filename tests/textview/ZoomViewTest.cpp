// The scrolling base view: derived scroll steps, centring of small content, scrolling of
// large content, and the fit of the whole content onto a printed page.
#include "CZoomView.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

using vexa::ContentSize;

namespace {

// Paints its content blue with a red 10 x 10 square at the content's top left.
class BlockView : public CZoomView {
public:
    using CZoomView::CZoomView;
    QRect lastExposed;
    bool printedLast = false;

protected:
    void OnDraw(QPainter &painter, const QRect &exposed) override {
        lastExposed = exposed;
        printedLast = IsPrinting();
        painter.fillRect(QRect(0, 0, GetTotalSize().cx, GetTotalSize().cy), Qt::blue);
        painter.fillRect(QRect(0, 0, 10, 10), Qt::red);
    }
};

QImage Grab(CZoomView &view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    view.viewport()->render(&image);
    return image;
}

// The rectangle of the pixels of one colour.
QRect Extent(const QImage &image, QRgb colour) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == colour) area |= QRect(x, y, 1, 1);
    return area;
}

constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kBlue = 0xFF0000FFu;

}  // namespace

class ZoomViewTest : public QObject {
    Q_OBJECT

private slots:
    void stepsDerivedFromTheContent();
    void contentNarrowerThanTheWindowIsCentred();
    void contentLargerThanTheWindowScrolls();
    void scrollBarClicksUseTheSteps();
    void printFitKeepsTheAspectRatio();
    void printingDrawsTheWholeContentInTheFit();
    void clientAreaShowsTheArrowCursor();
};

void ZoomViewTest::stepsDerivedFromTheContent() {
    BlockView view;
    QVERIFY(!view.HasContentSizes());
    view.SetContentSizes({1000, 3000});
    QCOMPARE(view.GetPageStep(), (ContentSize{100, 300}));
    QCOMPARE(view.GetLineStep(), (ContentSize{10, 30}));
    QCOMPARE(view.GetDeviceTotalSize(), (ContentSize{1000, 3000}));

    // A step of the caller's stays, its vertical part taken as a magnitude; the line
    // step is derived from the page step as given.
    view.SetContentSizes({1000, 3000}, {50, -70}, {});
    QCOMPARE(view.GetPageStep(), (ContentSize{50, 70}));
    QCOMPARE(view.GetLineStep(), (ContentSize{5, 7}));
    view.SetContentSizes({1000, 3000}, {}, {3, -4});
    QCOMPARE(view.GetPageStep(), (ContentSize{100, 300}));
    QCOMPARE(view.GetLineStep(), (ContentSize{3, 4}));

    // Small content: the steps are truncated (a 15-pixel content has no line step).
    view.SetContentSizes({15, 9});
    QCOMPARE(view.GetPageStep(), (ContentSize{1, 0}));
    QCOMPARE(view.GetLineStep(), (ContentSize{0, 0}));
}

void ZoomViewTest::contentNarrowerThanTheWindowIsCentred() {
    BlockView view;
    view.resize(1400, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetContentSizes({1000, 3000});
    QCoreApplication::processEvents();

    const QSize client = view.viewport()->size();
    QVERIFY(client.width() > 1000);
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view.ContentOrigin(), QPoint((client.width() - 1000) / 2, 0));
    QImage image = Grab(view);
    QCOMPARE(Extent(image, kRed).topLeft(), QPoint((client.width() - 1000) / 2, 0));
    QCOMPARE(Extent(image, kBlue).width() + 0, 1000);

    // Scrolled down: the text stays centred across, and moves up.
    view.ScrollToPosition({0, 40});
    QCOMPARE(view.ContentOrigin(), QPoint((client.width() - 1000) / 2, -40));

    // Smaller on both axes: centred on both.
    view.SetContentSizes({200, 100});
    QCoreApplication::processEvents();
    const QSize whole = view.viewport()->size();
    QCOMPARE(view.ContentOrigin(), QPoint((whole.width() - 200) / 2, (whole.height() - 100) / 2));
    image = Grab(view);
    QCOMPARE(Extent(image, kRed).topLeft(), view.ContentOrigin());
}

void ZoomViewTest::contentLargerThanTheWindowScrolls() {
    BlockView view;
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetContentSizes({1000, 3000});
    QCoreApplication::processEvents();

    const QSize client = view.viewport()->size();
    QCOMPARE(view.horizontalScrollBar()->maximum(), 1000 - client.width());
    QCOMPARE(view.verticalScrollBar()->maximum(), 3000 - client.height());

    view.ScrollToPosition({120, 450});
    QCOMPARE(view.GetDeviceScrollPosition(), QPoint(120, 450));
    QCOMPARE(view.ContentOrigin(), QPoint(-120, -450));
    const QImage image = Grab(view);
    QCOMPARE(view.lastExposed, QRect(QPoint(120, 450), client));
    QVERIFY(Extent(image, kRed).isNull());
    QCOMPARE(Extent(image, kBlue), QRect(QPoint(0, 0), client));

    // Beyond the range: kept inside it.
    view.ScrollToPosition({5000, -20});
    QCOMPARE(view.GetDeviceScrollPosition(), QPoint(1000 - client.width(), 0));
}

void ZoomViewTest::scrollBarClicksUseTheSteps() {
    BlockView view;
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetContentSizes({1000, 3000});
    QCoreApplication::processEvents();

    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 30);
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 330);
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 0);
    view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(view.GetDeviceScrollPosition().x(), 10);
    view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(view.GetDeviceScrollPosition().x(), 110);
}

void ZoomViewTest::printFitKeepsTheAspectRatio() {
    using Fit = CZoomView::PrintFit;
    // The same shape as the page: fills it.
    QCOMPARE(CZoomView::FitToPrintable({1000, 3000}, QSize(500, 1500)), (Fit{QPoint(0, 0), QSize(500, 1500)}));
    // Wide content on a tall page: the full width, shrunk in height, against the bottom.
    QCOMPARE(CZoomView::FitToPrintable({1000, 500}, QSize(800, 1200)), (Fit{QPoint(0, 800), QSize(800, 400)}));
    // Tall content on a wide page: the full height, narrower, against the right edge.
    QCOMPARE(CZoomView::FitToPrintable({1000, 3000}, QSize(1200, 800)), (Fit{QPoint(934, 0), QSize(266, 800)}));
}

void ZoomViewTest::printingDrawsTheWholeContentInTheFit() {
    BlockView view;
    view.SetContentSizes({1000, 500});
    QImage page(800, 1200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    view.PrintFitted(painter, page.size());
    painter.end();
    QVERIFY(view.printedLast);
    QCOMPARE(view.lastExposed, QRect(0, 0, 1000, 500));
    const QRect blue = Extent(page, kBlue) | Extent(page, kRed);
    QCOMPARE(blue, QRect(0, 800, 800, 400));
    QCOMPARE(Extent(page, kRed), QRect(0, 800, 8, 8));  // 10 units at 0.8 pixels each
}

void ZoomViewTest::clientAreaShowsTheArrowCursor() {
    BlockView view;
    QCOMPARE(view.viewport()->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(ZoomViewTest)
#include "ZoomViewTest.moc"
