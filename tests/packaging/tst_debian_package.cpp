// Builds the one Debian package with cpack, unpacks it with dpkg-deb into a scratch root
// and checks what a user of the package gets: both programs, their menu entries, icons and
// AppStream metadata, the copyright file, and the dependencies that make them start.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    bool ok = false;
    QString output;
};

// Runs a tool to its end; ok only when it started, exited normally and returned 0.
Run run(const QString &program, const QStringList &args, int timeout_ms = 90'000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted() || !p.waitForFinished(timeout_ms)) {
        p.kill();
        p.waitForFinished();
        r.output = program + u" did not run to its end: "_s + p.errorString();
        return r;
    }
    r.output = QString::fromLocal8Bit(p.readAll());
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return r;
}

// The value of `key=` in a desktop entry's [Desktop Entry] group, or a null string.
QString desktop_value(const QString &entry, const QString &key)
{
    for (const QString &line : entry.split(u'\n')) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return {};
}

const QStringList app_ids = {u"org.example.vornilex"_s, u"org.example.quellatto"_s};

}  // namespace

class TstDebianPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installs_data();
    void installs();
    void nothing_outside_usr_and_nothing_writable_by_others();
    void control_data();
    void control();
    void desktop_entry_names_installed_program_and_icon_data();
    void desktop_entry_names_installed_program_and_icon();
    void validators_data();
    void validators();
    void lintian_finds_no_error();
    void desktop_entry_starts_program_data();
    void desktop_entry_starts_program();

private:
    QString root() const { return m_dir.filePath(u"root"_s); }

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_control;
};

void TstDebianPackage::initTestCase()
{
    if (QStandardPaths::findExecutable(u"dpkg-deb"_s).isEmpty())
        QSKIP("dpkg-deb is not installed: no Debian package can be built or unpacked here");
    if (!QFileInfo::exists(QStringLiteral(CPACK_COMMAND)))
        QSKIP("cpack is not installed");
    QVERIFY(m_dir.isValid());

    const QString out = m_dir.filePath(u"out"_s);
    const Run cpack = run(QStringLiteral(CPACK_COMMAND),
                          {u"-G"_s, u"DEB"_s, u"-B"_s, out, u"--config"_s,
                           QStringLiteral(CPACK_CONFIG)});
    QVERIFY2(cpack.ok, qPrintable(cpack.output));

    // Both programs travel in one package.
    const QStringList debs = QDir(out).entryList({u"*.deb"_s}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = QDir(out).filePath(debs.first());

    const Run unpack = run(u"dpkg-deb"_s, {u"-x"_s, m_deb, root()});
    QVERIFY2(unpack.ok, qPrintable(unpack.output));
    const Run fields = run(u"dpkg-deb"_s, {u"-f"_s, m_deb});
    QVERIFY2(fields.ok, qPrintable(fields.output));
    m_control = fields.output;
}

void TstDebianPackage::installs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");

    QTest::newRow("vornilex program") << u"usr/bin/vornilex"_s << true;
    QTest::newRow("quellatto program") << u"usr/bin/quellatto"_s << true;
    for (const QString &id : app_ids) {
        QTest::addRow("%s menu entry", qPrintable(id))
            << u"usr/share/applications/%1.desktop"_s.arg(id) << false;
        QTest::addRow("%s metainfo", qPrintable(id))
            << u"usr/share/metainfo/%1.metainfo.xml"_s.arg(id) << false;
    }
    for (const char *program : {"vornilex", "quellatto"}) {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QTest::addRow("%s icon %dx%d", program, size, size)
                << u"usr/share/icons/hicolor/%1x%1/apps/%2.png"_s.arg(size).arg(QLatin1StringView(program))
                << false;
        }
        QTest::addRow("%s scalable icon", program)
            << u"usr/share/icons/hicolor/scalable/apps/%1.svg"_s.arg(QLatin1StringView(program)) << false;
    }
    QTest::newRow("vornilex manual page") << u"usr/share/man/man1/vornilex.1.gz"_s << false;
    QTest::newRow("quellatto manual page") << u"usr/share/man/man1/quellatto.1.gz"_s << false;
    QTest::newRow("copyright") << u"usr/share/doc/" PACKAGE_NAME "/copyright"_s << false;
    QTest::newRow("changelog") << u"usr/share/doc/" PACKAGE_NAME "/changelog.gz"_s << false;
}

void TstDebianPackage::installs()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo file(QDir(root()).filePath(path));
    QVERIFY2(file.isFile() && file.size() > 0, qPrintable(path + u" missing or empty"_s));
    QCOMPARE(file.isExecutable(), executable);
}

void TstDebianPackage::nothing_outside_usr_and_nothing_writable_by_others()
{
    const QDir base(root());
    QDirIterator it(root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString rel = base.relativeFilePath(entry.filePath());
        QVERIFY2(rel == u"usr"_s || rel.startsWith(u"usr/"_s), qPrintable(rel));
        QVERIFY2(!(entry.permissions() & (QFile::WriteGroup | QFile::WriteOther)), qPrintable(rel));
        files += entry.isFile();
    }
    QVERIFY(files > 0);
}

void TstDebianPackage::control_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("holds");

    QTest::newRow("package name") << u"Package"_s << QStringLiteral(PACKAGE_NAME);
    QTest::newRow("needs the Qt widgets library") << u"Depends"_s << u"libqt6widgets6"_s;
    QTest::newRow("needs the Qt platform plugins") << u"Depends"_s << u"qt6-qpa-plugins"_s;
    QTest::newRow("needs the Japanese font") << u"Depends"_s << u"fonts-ipafont-gothic"_s;
    QTest::newRow("needs Qt's Japanese translations") << u"Depends"_s << u"qt6-translations-l10n"_s;
    QTest::newRow("has a maintainer with an address") << u"Maintainer"_s << u"@"_s;
    QTest::newRow("describes both programs") << u"Description"_s << u"Vornilex"_s;
}

void TstDebianPackage::control()
{
    QFETCH(QString, field);
    QFETCH(QString, holds);
    // The field's value runs to the next line that starts a new field.
    const QRegularExpression re(u"^"_s + field + u": ([^\\n]*(\\n [^\\n]*)*)"_s,
                                QRegularExpression::MultilineOption);
    const QString value = re.match(m_control).captured(1);
    QVERIFY2(value.contains(holds), qPrintable(field + u": "_s + value));
}

void TstDebianPackage::desktop_entry_names_installed_program_and_icon_data()
{
    QTest::addColumn<QString>("id");
    for (const QString &id : app_ids)
        QTest::newRow(qPrintable(id)) << id;
}

void TstDebianPackage::desktop_entry_names_installed_program_and_icon()
{
    QFETCH(QString, id);
    const QDir base(root());
    QFile file(base.filePath(u"usr/share/applications/%1.desktop"_s.arg(id)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(file.readAll());

    const QString exec = desktop_value(entry, u"Exec"_s).section(u' ', 0, 0);
    QVERIFY2(QFileInfo(base.filePath(u"usr/bin/"_s + exec)).isExecutable(), qPrintable(exec));
    const QString icon = desktop_value(entry, u"Icon"_s);
    QVERIFY2(base.exists(u"usr/share/icons/hicolor/48x48/apps/%1.png"_s.arg(icon)), qPrintable(icon));
    QCOMPARE(desktop_value(entry, u"Categories"_s), u"Utility;TextTools;"_s);
    QVERIFY(!desktop_value(entry, u"Name[ja]"_s).isEmpty());
    QVERIFY(!desktop_value(entry, u"Comment[ja]"_s).isEmpty());

    // The store finds the menu entry through the metainfo's launchable.
    QFile meta(base.filePath(u"usr/share/metainfo/%1.metainfo.xml"_s.arg(id)));
    QVERIFY(meta.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(meta.readAll())
                .contains(u"<launchable type=\"desktop-id\">%1.desktop</launchable>"_s.arg(id)));
}

void TstDebianPackage::validators_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("args");

    QStringList desktop, metainfo;
    for (const QString &id : app_ids) {
        desktop << QDir(root()).filePath(u"usr/share/applications/%1.desktop"_s.arg(id));
        metainfo << QDir(root()).filePath(u"usr/share/metainfo/%1.metainfo.xml"_s.arg(id));
    }
    QTest::newRow("menu entries pass desktop-file-validate") << u"desktop-file-validate"_s << desktop;
    QTest::newRow("metainfo passes appstreamcli")
        << u"appstreamcli"_s << (QStringList{u"validate"_s, u"--no-net"_s} + metainfo);
}

void TstDebianPackage::validators()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, args);
    if (QStandardPaths::findExecutable(tool).isEmpty())
        QSKIP(qPrintable(tool + u" is not installed"_s));
    const Run check = run(tool, args);
    QVERIFY2(check.ok, qPrintable(check.output));
    // desktop-file-validate reports problems it does not fail on as well.
    QVERIFY2(tool != u"desktop-file-validate"_s || check.output.trimmed().isEmpty(),
             qPrintable(check.output));
}

void TstDebianPackage::lintian_finds_no_error()
{
    if (QStandardPaths::findExecutable(u"lintian"_s).isEmpty())
        QSKIP("lintian is not installed");
    const Run lint = run(u"lintian"_s, {m_deb});
    // Lintian's exit status follows its own fail-on setting; an error tag fails here.
    QStringList errors;
    for (const QString &line : lint.output.split(u'\n')) {
        if (line.startsWith(u"E: "_s))
            errors << line;
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}

void TstDebianPackage::desktop_entry_starts_program_data()
{
    desktop_entry_names_installed_program_and_icon_data();
}

// The program that the menu entry starts runs (offscreen) until it is ended: it finds its
// libraries and platform plugin, and neither crashes nor quits on its own at start-up.
void TstDebianPackage::desktop_entry_starts_program()
{
    QFETCH(QString, id);
    const QDir base(root());
    QFile file(base.filePath(u"usr/share/applications/%1.desktop"_s.arg(id)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString exec = desktop_value(QString::fromUtf8(file.readAll()), u"Exec"_s);

    QTemporaryDir work;   // Vornilex lists its working folder
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setWorkingDirectory(work.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(env);
    program.start(base.filePath(u"usr/bin/"_s + exec.section(u' ', 0, 0)),
                  exec.section(u' ', 1).split(u' ', Qt::SkipEmptyParts));
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    const bool ended = program.waitForFinished(1500);
    const QString said = QString::fromLocal8Bit(program.readAll());
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(!ended, qPrintable(u"%1 ended at start-up (exit %2): %3"_s
                                    .arg(exec).arg(program.exitCode()).arg(said)));
}

QTEST_GUILESS_MAIN(TstDebianPackage)
#include "tst_debian_package.moc"
