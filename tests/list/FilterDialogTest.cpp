// The Filter dialogs: what they offer, what they ask the parser component, and the key
// they hand back.
#include "CFilterDialog.h"
#include "CIpFilterDialog.h"
#include "CommandIds.h"
#include "FilteredFills.h"
#include "ListTestSupport.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace vexa;
using namespace vexa::listtest;

class FilterDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedFolder> folder;
    Host host;
    std::unique_ptr<CVexaClientDoc> doc;
    int kind = -1;
    std::string value = "before";

    // Five messages on signals 1 to 5, and the component's answers for gathering.
    void Open(const std::string &answers, int protocol = 1) {
        TraceBuilder t;
        for (int seq = 1; seq <= 5; ++seq) t.Signal(seq, seq % 2 ? "SWHW" : "HWSW");
        folder->Write(t.trace, t.script + answers);
        host.settings.m_nDefaultProtocol = host.settings.m_nCurrentProtocol = protocol;
        doc = std::make_unique<CVexaClientDoc>(host);
        QVERIFY(doc->OnOpenDocument(folder->TracePath()));
        folder->ClearCalls();
    }
    QStringList Offered(const CFilterDialog &d) {
        QStringList items;
        for (int i = 0; i < d.Values()->count(); ++i) items << d.Values()->itemText(i);
        return items;
    }
    int CallsStartingWith(const std::string &prefix) {
        int n = 0;
        for (const std::string &c : folder->Calls()) n += c.rfind(prefix, 0) == 0;
        return n;
    }

private slots:
    void init() {
        folder = std::make_unique<ScriptedFolder>();
        host.settings = Host().settings;
        host.settings.m_strTempPath = folder->TempPath();
        kind = -1;
        value = "before";
    }
    void cleanup() {
        if (doc) doc->OnCloseDocument();
        doc.reset();
        folder.reset();
    }

    void isdnOffersCallReferencesWithTheFlagClear() {
        Open(Entry({"callref", "1", "H'01||H'82"}) + Entry({"callref", "2", "H'81||H'82"}) +
             Entry({"callref", "3", "H'01||H'82"}) + Entry({"callref", "4", "H'05"}) +
             Entry({"callref", "5", "H'85"}));
        CFilterDialog d(kind, value, nullptr, *doc);
        QCOMPARE(d.windowTitle(), QStringLiteral("Filter"));
        QVERIFY(d.Button(CFilterDialog::IDC_BUTTON_FIRST)->isChecked());
        QVERIFY(!d.Button(CFilterDialog::IDC_BUTTON_SECOND)->isChecked());
        QCOMPARE(d.Label()->text(), QStringLiteral("Call Reference:"));
        QCOMPARE(Offered(d), QStringList({"01  82", "05"}));
        QCOMPARE(d.Values()->currentIndex(), 0);
        if (qEnvironmentVariableIsSet("VEXA_LIST_SHOTS")) {
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            d.grab().save(qEnvironmentVariable("VEXA_LIST_SHOTS") + "/filter.png");
        }
        d.OkButton()->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(kind, 1);
        QCOMPARE(value, std::string("H'01||H'82"));
    }

    void everyFlagSetOffersNothingAndOkSaysSo() {
        Open(Entry({"callref", "1", "H'81||H'82"}) + Entry({"callref", "2", "H'FF"}) + Entry({"callref", "3", "H'80"}) +
             Entry({"callref", "4", "H'9a"}) + Entry({"callref", "5", "H'C0||H'01"}));
        CFilterDialog d(kind, value, nullptr, *doc);
        QCOMPARE(d.Values()->count(), 0);
        QString shown;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        d.show();
        d.OkButton()->click();
        QCOMPARE(shown, QStringLiteral("Vexa|No items to display..."));
        QVERIFY(d.isVisible());  // the dialog stays open
        QCOMPARE(kind, -1);
        d.CancelButton()->click();
        QCOMPARE(kind, 0);
        QCOMPARE(value, std::string());
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }

    void callingPartiesAndEquNumbersAreGatheredOnceEach() {
        Open(Entry({"values", "cpn", "12", "123"}) + Entry({"equ", "1", "EQU NO      001-0-02-01"}) +
             Entry({"equ", "2", "EQU NO      001-0-02-02"}) + Entry({"equ", "3", "EQU NO      001-0-02-01"}));
        CFilterDialog d(kind, value, nullptr, *doc);
        d.Button(CFilterDialog::IDC_BUTTON_SECOND)->click();
        QCOMPARE(d.Label()->text(), QStringLiteral("Calling Party:"));
        QCOMPARE(Offered(d), QStringList({"12", "123"}));
        const int asked = CallsStartingWith("GetNext cpn");
        QCOMPARE(asked, 5);  // as many times as there are messages

        d.Button(CFilterDialog::IDC_BUTTON_EQU)->click();
        QCOMPARE(d.Label()->text(), QStringLiteral("EQU No:"));
        QCOMPARE(Offered(d), QStringList({"001-0-02-01", "001-0-02-02"}));
        d.Values()->setCurrentIndex(1);
        // EQU again: the list comes back from what was gathered, the first entry selected.
        d.Button(CFilterDialog::IDC_BUTTON_EQU)->click();
        QCOMPARE(d.Values()->currentIndex(), 0);

        // Back to the calling parties and to the call references: nothing asked again.
        d.Button(CFilterDialog::IDC_BUTTON_SECOND)->click();
        QCOMPARE(Offered(d), QStringList({"12", "123"}));
        d.Values()->setCurrentIndex(1);
        d.Button(CFilterDialog::IDC_BUTTON_SECOND)->click();  // already chosen: no change
        QCOMPARE(d.Values()->currentIndex(), 1);
        d.Button(CFilterDialog::IDC_BUTTON_FIRST)->click();
        QCOMPARE(d.Label()->text(), QStringLiteral("Call Reference:"));
        QCOMPARE(CallsStartingWith("GetNext cpn"), asked);
        QCOMPARE(CallsStartingWith("GetEquNumber"), 5);
        QCOMPARE(CallsStartingWith("GetCallReference"), 5);  // gathered when the dialog opened

        d.Button(CFilterDialog::IDC_BUTTON_EQU)->click();
        d.Values()->setCurrentIndex(1);
        d.OkButton()->click();
        QCOMPARE(kind, 3);
        QCOMPARE(value, std::string("EQU NO      001-0-02-02"));
    }

    void dectOffersScpIdsAndTransactionSides() {
        Open(Entry({"values", "scpid", "12", "", "34"}) + Entry({"values", "tran", "0", "1", "0"}), 5);
        CFilterDialog d(kind, value, nullptr, *doc);
        d.show();
        QVERIFY(!d.Button(CFilterDialog::IDC_BUTTON_EQU)->isVisible());
        QVERIFY(!d.Group()->isVisible());
        QVERIFY(d.Button(CFilterDialog::IDC_BUTTON_SECOND)->isVisible());
        QCOMPARE(d.Button(CFilterDialog::IDC_BUTTON_SECOND)->text(), QStringLiteral("Tran Flag:"));
        QCOMPARE(d.Label()->text(), QStringLiteral("SCP ID:"));
        QCOMPARE(d.Button(CFilterDialog::IDC_BUTTON_FIRST)->text(), QStringLiteral("SCP ID"));
        QCOMPARE(Offered(d), QStringList({"12", "34"}));

        d.Button(CFilterDialog::IDC_BUTTON_SECOND)->click();
        QCOMPARE(d.Label()->text(), QStringLiteral("Tran Flag:"));
        QCOMPARE(Offered(d), QStringList({"Originator", "Destination"}));
        d.Values()->setCurrentIndex(1);
        d.OkButton()->click();
        QCOMPARE(kind, 5);
        QCOMPARE(value, std::string("1"));
    }

    void dectScpIdIsHandedBackAsListed() {
        Open(Entry({"values", "scpid", "12", "34"}), 5);
        CFilterDialog d(kind, value, nullptr, *doc);
        d.Values()->setCurrentIndex(1);
        d.OkButton()->click();
        QCOMPARE(kind, 4);
        QCOMPARE(value, std::string("34"));
    }

    void ipDialogChoosesAProtocolAndOffersHelp() {
        int topic = -1;
        SetHelpHandler([&](int t) { topic = t; });
        CIpFilterDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Filter"));
        QCOMPARE(d.Choice(), -1);
        QVERIFY(d.Button(CIpFilterDialog::IDC_RAS)->isChecked());
        QCOMPARE(d.Button(CIpFilterDialog::IDC_H2250)->text(), QStringLiteral("H.225.0"));
        d.HelpButton()->click();
        QCOMPARE(topic, 0x2009F);
        d.Button(CIpFilterDialog::IDC_H2250)->click();
        d.accept();
        QCOMPARE(d.Choice(), 2);
        QCOMPARE(IpProtocolKey(d.Choice()), std::string("H2250"));
        SetHelpHandler(nullptr);
    }
};

QTEST_MAIN(FilterDialogTest)
#include "FilterDialogTest.moc"
