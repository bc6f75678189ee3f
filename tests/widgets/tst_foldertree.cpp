#include "TestFiles.h"
#include "widgets/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
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
    void rightClickSelectsTheEntryUnderThePointer();
    void rightOnAFileKeepsTheNamesInView();
    void newFileInSelectedFolderShows();
    void ownChangeShowsAtOnce();
    void deletedSelectionMovesToAnAncestor();
    void missingFolderGivesAnEmptyTree();
    void changeKeepsTheView_data();
    void changeKeepsTheView();
    void changeTakesItsPlace_data();
    void changeTakesItsPlace();
    void icons_data();
    void icons();

private:
    QStringList captions(QTreeWidgetItem *item) const;
    QTreeWidgetItem *child(QTreeWidgetItem *item, const QString &caption) const;
    QTreeWidgetItem *entry(const QString &relative) const;
    QStringList openEntries() const;
    void click(const QString &relative, bool onMarker = false);
    void touch(const QString &relative);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FolderTree> m_tree;
    QString m_folder; // ends with "/"
};

void TestSystemTreeView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path() + "/Dane/";
    QDir root(m_dir->path());
    for (const char *folder :
         {"Dane/bin", "Dane/Pusty", "Dane/tylko pliki", "Dane/a10", "Dane/a2", "Dane/.ukryty"})
        QVERIFY(root.mkpath(folder));
    for (const char *file : {"Setup.EXE", "readme.txt", "b.exe", "A.ico", ".profile", "bin/run.exe",
                             "tylko pliki/opis.txt"})
        touch(file);
    m_tree = std::make_unique<FolderTree>();
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

// The entry at a path below the root, by captions; null when the tree has none.
QTreeWidgetItem *TestSystemTreeView::entry(const QString &relative) const
{
    QTreeWidgetItem *item = m_tree->topLevelItem(0);
    for (const QString &caption : relative.split('/', Qt::SkipEmptyParts))
        item = child(item, caption);
    return item;
}

QStringList TestSystemTreeView::openEntries() const
{
    QStringList open;
    for (QTreeWidgetItemIterator it(m_tree.get()); *it; ++it) {
        if ((*it)->isExpanded())
            open << FolderTree::pathOf(*it);
    }
    return open;
}

// A click on the entry, or on its "+" box left of it.
void TestSystemTreeView::click(const QString &relative, bool onMarker)
{
    QTreeWidgetItem *item = entry(relative);
    QVERIFY2(item, qPrintable(relative));
    const QRect rect = m_tree->visualItemRect(item);
    const QPoint at(onMarker ? rect.left() - m_tree->indentation() / 2 : rect.center().x(), rect.center().y());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, at);
}

void TestSystemTreeView::rootIsOpenAndCaptioned()
{
    m_tree->setRootFolder(m_folder);
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    QVERIFY(root);
    QCOMPARE(m_tree->topLevelItemCount(), 1);
    QCOMPARE(root->text(0), QStringLiteral("Dane")); // no caption given: the folder's name
    QVERIFY(root->isExpanded());
    QVERIFY(FolderTree::isListed(root));

    m_tree->setRootCaption("MOJA PLYTA");
    QCOMPARE(root->text(0), QStringLiteral("MOJA PLYTA"));
    m_tree->setRootCaption("");
    QCOMPARE(root->text(0), QString()); // an empty caption is shown as such
}

void TestSystemTreeView::sameTextDoesNothingOtherCaseRebuilds()
{
    QVERIFY(QDir(m_dir->path()).mkdir("DANE"));
    m_tree->setRootFolder(m_folder);
    m_tree->topLevelItem(0)->setData(0, Qt::UserRole + 50, "marked");
    m_tree->setRootFolder(m_folder);
    QCOMPARE(m_tree->topLevelItem(0)->data(0, Qt::UserRole + 50).toString(), QStringLiteral("marked"));
    m_tree->setRootFolder(m_dir->path() + "/DANE/");
    QVERIFY(!m_tree->topLevelItem(0)->data(0, Qt::UserRole + 50).isValid());
    QVERIFY(captions(m_tree->topLevelItem(0)).isEmpty());
}

void TestSystemTreeView::foldersFirstInNameOrder()
{
    m_tree->setRootFolder(m_folder);
    QCOMPARE(captions(m_tree->topLevelItem(0)),
             (QStringList{".ukryty", "a2", "a10", "bin", "Pusty", "tylko pliki", ".profile", "A.ico",
                          "b.exe", "readme.txt", "Setup.EXE"}));
}

void TestSystemTreeView::maskListsProgramsAndEveryFolder()
{
    m_tree->setRootFolder(m_folder);
    m_tree->setFileMask("*.exe");
    QCOMPARE(captions(m_tree->topLevelItem(0)),
             (QStringList{".ukryty", "a2", "a10", "bin", "Pusty", "tylko pliki", "b.exe", "Setup.EXE"}));
    m_tree->setFileMask("");
    QVERIFY(captions(m_tree->topLevelItem(0)).contains("readme.txt"));
}

void TestSystemTreeView::childMarkers()
{
    m_tree->setRootFolder(m_folder);
    m_tree->setFileMask("*.exe");
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    QTreeWidgetItem *filesOnly = child(root, "tylko pliki");
    QCOMPARE(filesOnly->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QCOMPARE(child(root, "Pusty")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    QCOMPARE(child(root, "b.exe")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    QVERIFY(!FolderTree::isListed(filesOnly)); // listed only when opened

    m_tree->expandItem(filesOnly); // only a .txt inside: it turns out empty
    QVERIFY(FolderTree::isListed(filesOnly));
    QCOMPARE(filesOnly->childCount(), 0);
    QCOMPARE(filesOnly->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

    QTreeWidgetItem *bin = child(root, "bin");
    m_tree->expandItem(bin);
    QCOMPARE(captions(bin), QStringList{"run.exe"});
}

void TestSystemTreeView::selection()
{
    QCOMPARE(m_tree->selectedPath(), QString());
    m_tree->setRootFolder(m_folder);
    QCOMPARE(m_tree->selectedPath(), QString());
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    QCOMPARE(m_tree->selectedPath(), m_dir->path() + "/Dane");
    QVERIFY(m_tree->select(m_folder + "bin/run.exe"));
    QCOMPARE(m_tree->selectedPath(), m_folder + "bin/run.exe");

    m_tree->setRootFolder("/");
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    QCOMPARE(m_tree->selectedPath(), QStringLiteral("/"));
}

void TestSystemTreeView::changeIsReportedAtOnce()
{
    m_tree->setRootFolder(m_folder);
    QSignalSpy spy(m_tree.get(), &FolderTree::selectedEntryChanged);
    m_tree->select(m_folder + "b.exe");
    QCOMPARE(spy.count(), 1);
    m_tree->select(m_folder + "b.exe");
    QCOMPARE(spy.count(), 1);
}

void TestSystemTreeView::rightClickSelectsTheEntryUnderThePointer()
{
    m_tree->setRootFolder(m_folder);
    m_tree->show();
    QVERIFY(m_tree->select(m_folder + "b.exe"));
    QTreeWidgetItem *other = child(m_tree->topLevelItem(0), "readme.txt");
    const QPoint at = m_tree->visualItemRect(other).center();
    QTest::mouseClick(m_tree->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(m_tree->selectedPath(), m_folder + "readme.txt");

    QMenu menu;
    menu.addAction("Dodaj do menu");
    m_tree->setPopupMenu(&menu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, m_tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(m_tree->viewport(), &event);
    QVERIFY(menu.isVisible());
    menu.hide();
    QCOMPARE(m_tree->selectedPath(), m_folder + "readme.txt");
}

void TestSystemTreeView::rightOnAFileKeepsTheNamesInView()
{
    const QString longName = QString(120, u'd') + ".exe";
    touch(longName);
    m_tree->setRootFolder(m_folder);
    m_tree->show();
    QVERIFY(m_tree->select(m_folder + longName));
    m_tree->horizontalScrollBar()->setValue(0);
    QTest::keyClick(m_tree.get(), Qt::Key_Right);
    QVERIFY(m_tree->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(m_tree->horizontalScrollBar()->value(), 0);
}

void TestSystemTreeView::newFileInSelectedFolderShows()
{
    m_tree->setReadDelay(0);
    m_tree->setRootFolder(m_folder);
    m_tree->select(m_folder + "a2");
    QVERIFY(m_tree->select(m_folder + "bin"));
    m_tree->expandItem(m_tree->currentItem());
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin"));
    touch("bin/nowy.exe");
    QTRY_COMPARE(captions(child(m_tree->topLevelItem(0), "bin")), (QStringList{"nowy.exe", "run.exe"}));
    QCOMPARE(m_tree->selectedPath(), m_folder + "bin");
}

// A file the program writes or removes itself is in its place at once; the folder's notices
// that follow leave the tree alone, and what someone else changes afterwards still shows.
void TestSystemTreeView::ownChangeShowsAtOnce()
{
    m_tree->setReadDelay(0);
    m_tree->setRootFolder(m_folder);
    QVERIFY(m_tree->select(m_folder + "bin"));
    m_tree->expandItem(m_tree->currentItem());
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin"));
    QTreeWidgetItem *bin = child(m_tree->topLevelItem(0), "bin");

    touch("bin/autorun.inf");
    m_tree->entryChanged(m_folder + "bin/autorun.inf");
    QCOMPARE(captions(bin), (QStringList{"autorun.inf", "run.exe"})); // before any event
    QTest::qWait(50); // the notices
    QCOMPARE(captions(bin), (QStringList{"autorun.inf", "run.exe"}));

    touch("bin/inny.exe"); // not the program's
    QTRY_COMPARE(captions(bin), (QStringList{"autorun.inf", "inny.exe", "run.exe"}));

    QVERIFY(QFile::remove(m_folder + "bin/autorun.inf"));
    m_tree->entryChanged(m_folder + "bin/autorun.inf");
    QCOMPARE(captions(bin), (QStringList{"inny.exe", "run.exe"}));
    QVERIFY(QDir(m_folder + "bin").mkdir("autorun.inf")); // the same name, now a folder
    m_tree->entryChanged(m_folder + "bin/autorun.inf");
    QCOMPARE(captions(bin), (QStringList{"autorun.inf", "inny.exe", "run.exe"}));
    QVERIFY(FolderTree::isFolder(bin->child(0)));
    QCOMPARE(m_tree->selectedPath(), m_folder + "bin");
}

void TestSystemTreeView::deletedSelectionMovesToAnAncestor()
{
    QVERIFY(QDir(m_folder).mkpath("bin/gleboki/glebszy"));
    m_tree->setReadDelay(0);
    m_tree->setRootFolder(m_folder);
    m_tree->select(m_folder + "a2");
    QVERIFY(m_tree->select(m_folder + "bin/gleboki"));
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin/gleboki"));
    QSignalSpy changes(m_tree.get(), &FolderTree::selectedEntryChanged);

    QVERIFY(QDir(m_folder + "bin/gleboki").removeRecursively());
    QTRY_COMPARE(m_tree->selectedPath(), m_folder + "bin");
    QVERIFY(!captions(child(m_tree->topLevelItem(0), "bin")).contains("gleboki"));
    QCOMPARE(changes.count(), 1);

    // Then the folder above it goes too: the tree ends up on an entry that exists.
    QTRY_VERIFY(m_tree->watchedFolders().contains(m_folder + "bin"));
    QVERIFY(QDir(m_folder + "bin").removeRecursively());
    QTRY_COMPARE(m_tree->selectedPath(), m_dir->path() + "/Dane");
    QCOMPARE(changes.count(), 2);
}

void TestSystemTreeView::missingFolderGivesAnEmptyTree()
{
    m_tree->setRootFolder(m_dir->path() + "/brak/");
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    m_tree->setRootFolder("");
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    m_tree->setRootFolder(u"Mój komputer"_qs);
    QCOMPARE(m_tree->topLevelItemCount(), 0);
}

void TestSystemTreeView::changeKeepsTheView_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("path"); // below the data folder
    QTest::addColumn<bool>("listed"); // whether the tree shows it afterwards
    QTest::newRow("file created in the root") << "create" << "autorun.inf" << true;
    QTest::newRow("file created beside the selection") << "create" << "bin/gleboki/nowy.exe" << true;
    QTest::newRow("folder created in an open folder") << "mkdir" << "bin/nowy" << true;
    QTest::newRow("file deleted in an open folder") << "delete" << "bin/run.exe" << false;
    QTest::newRow("programs only") << "mask" << "readme.txt" << false;
}

// What the user opened, selected and scrolled to stays put, and the main window hears of no
// selection change.
void TestSystemTreeView::changeKeepsTheView()
{
    QFETCH(QString, change);
    QFETCH(QString, path);
    QFETCH(bool, listed);
    for (int i = 0; i < 40; ++i)
        touch(QStringLiteral("bin/gleboki/plik%1.exe").arg(i, 2, 10, QLatin1Char('0')));
    m_tree->setReadDelay(0);
    m_tree->setRootFolder(m_folder);
    m_tree->show();
    click("bin", true);
    click("bin/gleboki", true);
    click("bin/gleboki/plik03.exe");
    QWheelEvent wheel(QPointF(50, 50), m_tree->viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_tree->viewport(), &wheel);
    const int scrolled = m_tree->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    const QStringList open = openEntries();
    QCOMPARE(open, (QStringList{m_dir->path() + "/Dane", m_folder + "bin", m_folder + "bin/gleboki"}));
    QCOMPARE(m_tree->selectedPath(), m_folder + "bin/gleboki/plik03.exe");
    if (change != "mask")
        QTRY_VERIFY(m_tree->watchedFolders().contains(QFileInfo(m_folder + path).path()));
    QSignalSpy changes(m_tree.get(), &FolderTree::selectedEntryChanged);

    if (change == "create")
        touch(path);
    else if (change == "mkdir")
        QVERIFY(QDir(m_folder).mkdir(path));
    else if (change == "delete")
        QVERIFY(QFile::remove(m_folder + path));
    else
        m_tree->setFileMask("*.exe");
    QTRY_COMPARE(entry(path) != nullptr, listed);
    QCOMPARE(openEntries(), open);
    QCOMPARE(m_tree->selectedPath(), m_folder + "bin/gleboki/plik03.exe");
    QCOMPARE(m_tree->verticalScrollBar()->value(), scrolled);
    QCOMPARE(changes.count(), 0);
}

void TestSystemTreeView::changeTakesItsPlace_data()
{
    QTest::addColumn<QString>("from"); // in bin/gleboki; none for a new file
    QTest::addColumn<QString>("to"); // none for a removed file
    QTest::addColumn<bool>("programsOnly"); // while the change is made
    QTest::newRow("file added") << "" << "plik4.exe" << false;
    QTest::newRow("file removed") << "plik10.exe" << "" << false;
    QTest::newRow("file renamed") << "plik20.exe" << "Plik2.exe" << false;
    QTest::newRow("renamed out of the programs shown") << "plik20.exe" << "plik20.txt" << true;
    QTest::newRow("many files added at once") << "" << "*plik%1.txt" << false;
}

// The entries of an open folder follow the disk in their places, as a tree listed anew shows
// them; what is open and selected stays.
void TestSystemTreeView::changeTakesItsPlace()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, programsOnly);
    const QString folder = m_folder + "bin/gleboki/";
    for (int i = 0; i < 40; ++i)
        touch(QStringLiteral("bin/gleboki/plik%1.exe").arg(i, 2, 10, QLatin1Char('0')));
    m_tree->setReadDelay(0);
    m_tree->setFileMask(programsOnly ? "*.exe" : "");
    m_tree->setRootFolder(m_folder);
    m_tree->show();
    click("bin", true);
    click("bin/gleboki", true);
    click("bin/gleboki/plik03.exe");
    const QStringList open = openEntries();
    QTRY_VERIFY(m_tree->watchedFolders().contains(folder.chopped(1)));
    QSignalSpy changes(m_tree.get(), &FolderTree::selectedEntryChanged);
    const auto listedAnew = [&] {
        FolderTree tree;
        tree.setFileMask(m_tree->fileMask());
        tree.setRootFolder(m_folder);
        tree.select(folder + "plik03.exe");
        return captions(tree.currentItem()->parent());
    };

    if (to.startsWith('*')) {
        for (int i = 0; i < 300; ++i)
            touch("bin/gleboki/" + to.mid(1).arg(i));
    } else if (from.isEmpty()) {
        touch("bin/gleboki/" + to);
    } else if (to.isEmpty()) {
        QVERIFY(QFile::remove(folder + from));
    } else {
        QVERIFY(QFile::rename(folder + from, folder + to));
    }
    QTRY_COMPARE(captions(entry("bin/gleboki")), listedAnew());
    m_tree->setFileMask("");
    QCOMPARE(captions(entry("bin/gleboki")), listedAnew());
    QCOMPARE(openEntries(), open);
    QCOMPARE(m_tree->selectedPath(), folder + "plik03.exe");
    QCOMPARE(changes.count(), 0);
}

void TestSystemTreeView::icons_data()
{
    QTest::addColumn<bool>("themeHasEmblem");
    QTest::newRow("theme with a link emblem") << true;
    QTest::newRow("theme without one") << false;
}

// The selected folder looks open, the others closed; a link never looks like what it points to.
void TestSystemTreeView::icons()
{
    QFETCH(bool, themeHasEmblem);
    QTemporaryDir themes;
    QVERIFY(writeTestFile(themes.filePath("proba/index.theme"),
                          "[Icon Theme]\nDirectories=16x16/emblems\n[16x16/emblems]\nSize=16\n"));
    QImage emblem(16, 16, QImage::Format_ARGB32);
    emblem.fill(Qt::magenta);
    QVERIFY(QDir(themes.path()).mkpath("proba/16x16/emblems"));
    if (themeHasEmblem)
        QVERIFY(emblem.save(themes.filePath("proba/16x16/emblems/emblem-symbolic-link.png")));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    const auto restoreTheme = qScopeGuard([&] {
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(themeName);
    });
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName("proba");
    QVERIFY(QFile::link(m_folder + "bin", m_folder + "do bin"));
    QVERIFY(QFile::link(m_folder + "b.exe", m_folder + "skrot.exe"));
    QVERIFY(QFile::link(m_folder + "brak.exe", m_folder + "zerwany.exe"));
    m_tree->setRootFolder(m_folder);
    m_tree->show();
    const auto key = [&](const QString &path) { return entry(path)->icon(0).cacheKey(); };
    const auto image = [&](const QString &path) { return entry(path)->icon(0).pixmap(16).toImage(); };

    QVERIFY(key("do bin") != key("a2"));
    QVERIFY(image("skrot.exe") != image("b.exe"));
    QVERIFY(image("zerwany.exe") != image("b.exe"));
    if (themeHasEmblem)
        QCOMPARE(image("skrot.exe").pixelColor(2, 14), QColor(Qt::magenta)); // bottom left

    const qint64 closed = key("a2");
    click("bin");
    QVERIFY(key("bin") != closed);
    QTest::keyClick(m_tree.get(), Qt::Key_Right);
    QVERIFY(entry("bin")->isExpanded());
    const qint64 closedLink = key("do bin");
    click("do bin");
    QCOMPARE(key("bin"), closed); // open, but no longer selected
    QVERIFY(key("do bin") != closedLink);

    const qint64 file = key("b.exe");
    click("b.exe");
    QCOMPARE(key("b.exe"), file); // files look the same either way
    QCOMPARE(key("do bin"), closedLink);
}

QTEST_MAIN(TestSystemTreeView)
#include "tst_foldertree.moc"
