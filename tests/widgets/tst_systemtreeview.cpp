#include "TestFiles.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestSystemTreeView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rootIsOpenAndCaptioned();
    void sameTextDoesNothingOtherCaseRebuilds();
    void foldersFirstInNameOrder();
    void maskListsProgramsAndEveryFolder();
    void childMarkers();
    void selection();
    void changeIsReportedAtOnce();
    void rightClickKeepsTheSelection();
    void newFileInSelectedFolderShows();
    void deletedSelectionMovesToAnAncestor();
    void missingFolderGivesAnEmptyTree();

private:
    QStringList captions(QTreeWidgetItem *item) const;
    QTreeWidgetItem *child(QTreeWidgetItem *item, const QString &caption) const;
    void touch(const QString &relative);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TdfsSystemTreeView> m_tree;
    QString m_folder; // ends with "/"
};

void TestSystemTreeView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path() + "/Dane/";
    QDir root(m_dir->path());
    for (const char *folder : {"Dane/bin", "Dane/Pusty", "Dane/tylko pliki", "Dane/a10", "Dane/a2", "Dane/.ukryty"})
        QVERIFY(root.mkpath(folder));
    for (const char *file : {"Setup.EXE", "readme.txt", "b.exe", "A.ico", ".profile", "bin/run.exe",
                             "tylko pliki/opis.txt"})
        touch(file);
    m_tree = std::make_unique<TdfsSystemTreeView>();
    m_tree->resize(233, 241);
}

void TestSystemTreeView::touch(const QString &relative)
{
    QVERIFY(writeTestFile(m_folder + relative));
}

QStringList TestSystemTreeView::captions(QTreeWidgetItem *item) const
{
    QStringList list;
    for (int i = 0; item && i < item->childCount(); ++i)
        list << item->child(i)->text(0);
    return list;
}

QTreeWidgetItem *TestSystemTreeView::child(QTreeWidgetItem *item, const QString &caption) const
{
    for (int i = 0; item && i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == caption)
            return item->child(i);
    }
    return nullptr;
}

void TestSystemTreeView::rootIsOpenAndCaptioned()
{
    m_tree->setCustomDir(m_folder);
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    QVERIFY(root);
    QCOMPARE(m_tree->topLevelItemCount(), 1);
    QCOMPARE(root->text(0), QStringLiteral("Dane")); // no caption given: the folder's name
    QVERIFY(root->isExpanded());
    QVERIFY(TdfsSystemTreeView::isListed(root));

    m_tree->setCustomDirCaption("MOJA PLYTA");
    QCOMPARE(root->text(0), QStringLiteral("MOJA PLYTA"));
    m_tree->setCustomDirCaption("");
    QCOMPARE(root->text(0), QString()); // an empty caption is shown as such
}

void TestSystemTreeView::sameTextDoesNothingOtherCaseRebuilds()
{
    QVERIFY(QDir(m_dir->path()).mkdir("DANE"));
    m_tree->setCustomDir(m_folder);
    m_tree->topLevelItem(0)->setData(0, Qt::UserRole + 50, "marked");
    m_tree->setCustomDir(m_folder);
    QCOMPARE(m_tree->topLevelItem(0)->data(0, Qt::UserRole + 50).toString(), QStringLiteral("marked"));
    m_tree->setCustomDir(m_dir->path() + "/DANE/");
    QVERIFY(!m_tree->topLevelItem(0)->data(0, Qt::UserRole + 50).isValid());
    QVERIFY(captions(m_tree->topLevelItem(0)).isEmpty());
}

void TestSystemTreeView::foldersFirstInNameOrder()
{
    m_tree->setCustomDir(m_folder);
    QCOMPARE(captions(m_tree->topLevelItem(0)),
             (QStringList{".ukryty", "a2", "a10", "bin", "Pusty", "tylko pliki", ".profile", "A.ico",
                          "b.exe", "readme.txt", "Setup.EXE"}));
}

void TestSystemTreeView::maskListsProgramsAndEveryFolder()
{
    m_tree->setCustomDir(m_folder);
    m_tree->setFileMask("*.exe");
    QCOMPARE(captions(m_tree->topLevelItem(0)),
             (QStringList{".ukryty", "a2", "a10", "bin", "Pusty", "tylko pliki", "b.exe", "Setup.EXE"}));
    m_tree->setFileMask("");
    QVERIFY(captions(m_tree->topLevelItem(0)).contains("readme.txt"));
}

void TestSystemTreeView::childMarkers()
{
    m_tree->setCustomDir(m_folder);
    m_tree->setFileMask("*.exe");
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    QTreeWidgetItem *filesOnly = child(root, "tylko pliki");
    QCOMPARE(filesOnly->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QCOMPARE(child(root, "Pusty")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    QCOMPARE(child(root, "b.exe")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    QVERIFY(!TdfsSystemTreeView::isListed(filesOnly)); // listed only when opened

    m_tree->expandItem(filesOnly); // only a .txt inside: it turns out empty
    QVERIFY(TdfsSystemTreeView::isListed(filesOnly));
    QCOMPARE(filesOnly->childCount(), 0);
    QCOMPARE(filesOnly->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

    QTreeWidgetItem *bin = child(root, "bin");
    m_tree->expandItem(bin);
    QCOMPARE(captions(bin), QStringList{"run.exe"});
}

void TestSystemTreeView::selection()
{
    QCOMPARE(m_tree->Selection(), QString());
    m_tree->setCustomDir(m_folder);
    QCOMPARE(m_tree->Selection(), QString());
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    QCOMPARE(m_tree->Selection(), m_dir->path() + "/Dane");
    QVERIFY(m_tree->select(m_folder + "bin/run.exe"));
    QCOMPARE(m_tree->Selection(), m_folder + "bin/run.exe");

    m_tree->setCustomDir("/");
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    QCOMPARE(m_tree->Selection(), QStringLiteral("/"));
}

void TestSystemTreeView::changeIsReportedAtOnce()
{
    m_tree->setCustomDir(m_folder);
    QSignalSpy spy(m_tree.get(), &TdfsSystemTreeView::OnChange);
    m_tree->select(m_folder + "b.exe");
    QCOMPARE(spy.count(), 1);
    m_tree->select(m_folder + "b.exe");
    QCOMPARE(spy.count(), 1);
}

void TestSystemTreeView::rightClickKeepsTheSelection()
{
    m_tree->setCustomDir(m_folder);
    m_tree->show();
    QVERIFY(m_tree->select(m_folder + "b.exe"));
    QTreeWidgetItem *other = child(m_tree->topLevelItem(0), "readme.txt");
    const QPoint at = m_tree->visualItemRect(other).center();
    QTest::mouseClick(m_tree->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(m_tree->Selection(), m_folder + "b.exe");

    QMenu menu;
    menu.addAction("Dodaj do menu");
    m_tree->setPopupMenu(&menu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, m_tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(m_tree->viewport(), &event);
    QVERIFY(menu.isVisible());
    menu.hide();
    QCOMPARE(m_tree->Selection(), m_folder + "b.exe");
}

void TestSystemTreeView::newFileInSelectedFolderShows()
{
    m_tree->setReadDelay(0);
    m_tree->setCustomDir(m_folder);
    m_tree->select(m_folder + "a2");
    QVERIFY(m_tree->select(m_folder + "bin"));
    m_tree->expandItem(m_tree->currentItem());
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin"));
    touch("bin/nowy.exe");
    QTRY_COMPARE(captions(child(m_tree->topLevelItem(0), "bin")), (QStringList{"nowy.exe", "run.exe"}));
    QCOMPARE(m_tree->Selection(), m_folder + "bin");
}

void TestSystemTreeView::deletedSelectionMovesToAnAncestor()
{
    QVERIFY(QDir(m_folder).mkpath("bin/gleboki/glebszy"));
    m_tree->setReadDelay(0);
    m_tree->setCustomDir(m_folder);
    m_tree->select(m_folder + "a2");
    QVERIFY(m_tree->select(m_folder + "bin/gleboki"));
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin/gleboki"));

    QVERIFY(QDir(m_folder + "bin/gleboki").removeRecursively());
    QTRY_COMPARE(m_tree->Selection(), m_folder + "bin");
    QVERIFY(!captions(child(m_tree->topLevelItem(0), "bin")).contains("gleboki"));

    // Then the folder above it goes too: the tree ends up on an entry that exists.
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin"));
    QVERIFY(QDir(m_folder + "bin").removeRecursively());
    QTRY_COMPARE(m_tree->Selection(), m_dir->path() + "/Dane");
}

void TestSystemTreeView::missingFolderGivesAnEmptyTree()
{
    m_tree->setCustomDir(m_dir->path() + "/brak/");
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    m_tree->setCustomDir("");
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    m_tree->setCustomDir(u"Mój komputer"_qs);
    QCOMPARE(m_tree->topLevelItemCount(), 0);
}

QTEST_MAIN(TestSystemTreeView)
#include "tst_systemtreeview.moc"
