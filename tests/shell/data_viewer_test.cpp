// The viewer for received data: what its table shows, its raw switch, copy, CSV and open.
#include <sys/stat.h>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>

#include "shell/DataViewer.h"
#include "shell/RecordTableModel.h"
#include "shell/TransferWindows.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::OnNextModal;
using k52::test::ScriptedMessages;

namespace {

// Hand-worked CP950: 蘋果 C4 AB AA 47; 四 A5 7C (second byte '|'); FF is no CP950 byte.
const std::string kRecords =
    "A001|\xC4\xAB\xAA\x47,3\r\n"
    "B002|\xA5\x7C\r\n"
    "C003|\xFF\r\n";

void WriteFile(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QStringList Row(const RecordTableModel& m, int row) {
    QStringList out;
    for (int c = 0; c < m.columnCount(); ++c) out << m.data(m.index(row, c)).toString();
    return out;
}

}  // namespace

class DataViewerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    ScriptedMessages messages_;
    const FieldSeparators separators_{'|', ','};

    QString Collected() {
        const QString path = dir_.filePath(QStringLiteral("collected.TXT"));
        WriteFile(path, kRecords);
        return path;
    }

  private slots:
    void showsNumberedRecordsSplitAtTheSeparators() {
        DataViewer v(separators_, messages_);
        QVERIFY(v.Open(Collected()));
        QCOMPARE(v.windowTitle(), QStringLiteral("collected.TXT"));
        QCOMPARE(v.countLabel()->text(), QStringLiteral("共 3 筆資料"));
        const RecordTableModel& m = *v.model();
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.columnCount(), 3);
        QCOMPARE(Row(m, 0), (QStringList{"A001", "蘋果", "3"}));
        QCOMPARE(Row(m, 1), (QStringList{"B002", "四", ""}));
        QCOMPARE(Row(m, 2), (QStringList{"C003", "\\xFF", ""}));
        QCOMPARE(m.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("欄位 1"));

        // The switch shows each record whole.
        QTest::mouseClick(v.rawSwitch(), Qt::LeftButton);
        QVERIFY(m.raw());
        QCOMPARE(m.columnCount(), 1);
        QCOMPARE(Row(m, 0), QStringList{"A001|蘋果,3"});
        QCOMPARE(Row(m, 1), QStringList{"B002|四"});
        v.rawSwitch()->setChecked(false);
        QCOMPARE(m.columnCount(), 3);
    }

    void copiesTheChosenCellsOrAll() {
        DataViewer v(separators_, messages_);
        QVERIFY(v.Open(Collected()));
        v.show();
        QTest::mouseClick(v.copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("A001\t蘋果\t3\nB002\t四\t\nC003\t\\xFF\t\n"));
        v.view()->selectionModel()->select(v.model()->index(0, 1), QItemSelectionModel::Select);
        v.view()->selectionModel()->select(v.model()->index(1, 1), QItemSelectionModel::Select);
        v.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("蘋果\n四\n"));
    }

    void saveButtonWritesUtf8Csv() {
        DataViewer v(separators_, messages_);
        QVERIFY(v.Open(Collected()));
        v.show();
        const QString csv = dir_.filePath(QStringLiteral("out.csv"));
        QString offered;
        OnNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            offered = dialog->selectedFiles().value(0);
            dialog->selectFile(csv);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        });
        QTest::mouseClick(v.saveButton(), Qt::LeftButton);
        QCOMPARE(offered, dir_.filePath(QStringLiteral("collected.csv")));
        QCOMPARE(ReadFile(csv), std::string("\xEF\xBB\xBF"
                                            "A001,蘋果,3\r\nB002,四,\r\nC003,\\xFF,\r\n"));
        QVERIFY(messages_.shown.empty());

        // A cell a spreadsheet would run as a formula is saved as text.
        const QString formulas = dir_.filePath(QStringLiteral("formulas.txt"));
        WriteFile(formulas, "D004,=SUM(A1),-5\r\n");
        QVERIFY(v.Open(formulas));
        QVERIFY(v.SaveCsv(csv));
        QCOMPARE(ReadFile(csv), std::string("\xEF\xBB\xBF"
                                            "D004,'=SUM(A1),'-5\r\n"));
        // As k52cli's --no-bom and --raw-cells: the bytes alone, the cells as received.
        v.bomSwitch()->setChecked(false);
        v.rawCellsSwitch()->setChecked(true);
        QVERIFY(v.SaveCsv(csv));
        QCOMPARE(ReadFile(csv), std::string("D004,=SUM(A1),-5\r\n"));
    }

    void openButtonReadsAnotherFile() {
        DataViewer v(separators_, messages_);
        QVERIFY(v.Open(Collected()));
        v.show();
        const QString other = dir_.filePath(QStringLiteral("OTHER.TXT"));
        WriteFile(other, "X|Y\nZ\n");  // written on Linux: LF line ends
        OnNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->selectFile(other);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        });
        QTest::mouseClick(v.openButton(), Qt::LeftButton);
        QCOMPARE(v.windowTitle(), QStringLiteral("OTHER.TXT"));
        QCOMPARE(v.model()->rowCount(), 2);
        QCOMPARE(Row(*v.model(), 0), (QStringList{"X", "Y"}));
    }

    void unreadableFilesAreReported() {
        ScriptedMessages messages;
        DataViewer v(separators_, messages);
        QVERIFY(!v.Open(dir_.filePath(QStringLiteral("missing.TXT"))));
        QCOMPARE(messages.texts(), std::vector<std::string>{"無法開啟檔案!!"});
        // A FIFO is refused, not waited on.
        const QString fifo = dir_.filePath(QStringLiteral("fifo.TXT"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!v.Open(fifo));
        QCOMPARE(messages.texts().size(), std::size_t{2});
        QVERIFY(!v.SaveCsv(dir_.filePath(QStringLiteral("no/such/folder/out.csv"))));
        QCOMPARE(messages.texts().back(), std::string("寫入檔案失敗!!"));
    }

    void viewingReceivedDataOpensTheViewerWithTheTemplateSeparators() {
        QWidget owner;
        FieldSeparators live{',', 0};
        QtTransferFiles files(messages_, &owner, &live);
        live = separators_;  // read when the viewer opens, not when the files were made
        files.OpenForViewing(Collected().toStdString());
        auto* viewer = owner.findChild<DataViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->isWindow());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("collected.TXT"));
        QCOMPARE(Row(*viewer->model(), 0), (QStringList{"A001", "蘋果", "3"}));
        QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
    }
};

QTEST_MAIN(DataViewerTest)
#include "data_viewer_test.moc"
