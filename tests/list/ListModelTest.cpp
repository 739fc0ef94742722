// The rows of the message list as they are stored: a fill of very many rows keeps every
// text where it was first put, whatever comes after it.
#include "CListModel.h"

#include <QTest>

#include <string>

using namespace vexa;

namespace {

CListModel::RowTexts TextsOf(const std::string (&texts)[CListModel::kColumns]) {
    CListModel::RowTexts row;
    for (int c = 0; c < CListModel::kColumns; ++c) row[static_cast<size_t>(c)] = texts[c];
    return row;
}

void AddRow(CListModel &model, int i) {
    const std::string texts[CListModel::kColumns] = {
        std::to_string(i % 32767 + 1), "SWHW", "SETUP", "09.00.00." + std::to_string(i % 100), "ISDNCP-01",
        "DLB-0102"};
    model.InsertRow(-1, TextsOf(texts));
}

}  // namespace

class ListModelTest : public QObject {
    Q_OBJECT

private slots:
    void aLongFillNeverMovesTheTextsOfEarlierRows() {
        // A fill of a large trace adds millions of rows: were the texts moved each time
        // their store grew, the fill would copy them again and again.
        CListModel model;
        AddRow(model, 0);
        const char *first = model.Utf8Text(0, 4).data();
        for (int i = 1; i < 300000; ++i) AddRow(model, i);
        QCOMPARE(model.RowCount(), 300000);
        QCOMPARE(static_cast<const void *>(model.Utf8Text(0, 4).data()), static_cast<const void *>(first));
        QCOMPARE(model.Text(0, 0), QStringLiteral("1"));
        QCOMPARE(model.Text(0, 4), QStringLiteral("ISDNCP-01"));
        QCOMPARE(model.Text(299999, 0), QString::number(299999 % 32767 + 1));
        QCOMPARE(model.Text(299999, 3), QStringLiteral("09.00.00.99"));
        QCOMPARE(model.Text(299999, 5), QStringLiteral("DLB-0102"));
    }

    void aRowLongerThanAnyPieceOfTheStoreKeepsItsWholeText() {
        CListModel model;
        AddRow(model, 0);
        const std::string longName(3u << 20, 'N');
        const std::string texts[CListModel::kColumns] = {"2", "HWSW", longName, "09.00.00.01", "A", "B"};
        model.InsertRow(-1, TextsOf(texts));
        AddRow(model, 2);
        QCOMPARE(model.RowCount(), 3);
        QCOMPARE(model.Utf8Text(1, 2).size(), longName.size());
        QVERIFY(model.Utf8Text(1, 2) == longName);
        QCOMPARE(model.Text(1, 3), QStringLiteral("09.00.00.01"));
        QCOMPARE(model.Text(0, 2), QStringLiteral("SETUP"));
        QCOMPARE(model.Text(2, 0), QStringLiteral("3"));
    }

    void rowsInsertedAmongOthersAndAfterEmptyingShowTheirOwnTexts() {
        CListModel model;
        for (int i = 0; i < 10; ++i) AddRow(model, i);
        const std::string texts[CListModel::kColumns] = {"77", "HWSW", "CONNECT", "09.00.01.00", "X", "Y"};
        model.InsertRow(3, TextsOf(texts));
        model.DeleteRow(0);
        QCOMPARE(model.RowCount(), 10);
        QCOMPARE(model.Text(2, 0), QStringLiteral("77"));
        QCOMPARE(model.Text(2, 2), QStringLiteral("CONNECT"));
        QCOMPARE(model.Text(3, 0), QStringLiteral("4"));
        model.DeleteAllRows();
        QCOMPARE(model.RowCount(), 0);
        QVERIFY(model.Utf8Text(0, 0).empty());
        AddRow(model, 41);
        QCOMPARE(model.Text(0, 0), QStringLiteral("42"));
        QCOMPARE(model.Text(0, 5), QStringLiteral("DLB-0102"));
    }
};

QTEST_MAIN(ListModelTest)
#include "ListModelTest.moc"
