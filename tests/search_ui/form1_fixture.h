#pragma once
// The real search window on a temporary drive C:, with its questions answered by the
// test. Header-only: each window test builds its own copy.
#include "drive_map.h"
#include "fonts.h"
#include "form1.h"
#include "hit_list_model.h"
#include "list_controls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace fixture {

using namespace search;

// The desktop folder of the start-up, in the drive-letter model and on the host.
inline const QString desktop = QStringLiteral("WINDOWS/ﾃﾞｽｸﾄｯﾌﾟ");

// Text as the files hold it: code page 932, lines joined by CR LF.
inline QByteArray cp932(const QString &text)
{
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

// "line 1" .. "line n", each followed by CR LF.
inline QByteArray numbered_lines(int n)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    return bytes;
}

// What Text2 shows for these lines: the box holds paragraphs, so CR LF reads back as \n.
inline QString shown(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    return text;
}

inline QString shown_range(int first, int last)
{
    QStringList lines;
    for (int i = first; i <= last; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return shown(lines);
}

class Window {
public:
    Window()
    {
        m_saved_cwd = QDir::currentPath();
        mkdir(QStringLiteral("work"));
        QDir::setCurrent(host(QStringLiteral("work")));
    }
    ~Window()
    {
        form.reset();
        QDir::setCurrent(m_saved_cwd);
    }
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    QString host(const QString &relative) const { return m_root.filePath(relative); }

    void mkdir(const QString &relative) const { QDir(m_root.path()).mkpath(relative); }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        const QString path = host(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
    }

    void fifo(const QString &relative) const
    {
        QFile::remove(host(relative));
        if (::mkfifo(QFile::encodeName(host(relative)).constData(), 0600) != 0)
            qFatal("cannot make a FIFO");
    }

    DriveMap drives() const { return DriveMap::with_root(QFile::encodeName(m_root.path())); }

    // Builds the window (the working directory is C:\work) and runs its start-up.
    Form1 *open(const QString &program_folder = QStringLiteral("C:\\app"),
                std::optional<DriveMap> map = std::nullopt)
    {
        form = std::make_unique<Form1>(map ? *map : drives(), program_folder);
        form->set_message_handler([this](QWidget *, const MessageRequest &request) {
            asked.append(request);
            if (on_ask)
                on_ask(request);
            return answer;
        });
        form->start_up();
        form->show();
        return form.get();
    }

    template <typename T>
    T *get(const char *name) const
    {
        T *control = form->findChild<T *>(QLatin1String(name));
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    DriveList *drive1() const { return get<DriveList>("Drive1"); }
    DirList *dir1() const { return get<DirList>("Dir1"); }
    FileList *file1() const { return get<FileList>("File1"); }
    QLineEdit *text1() const { return get<QLineEdit>("Text1"); }
    QLineEdit *text3() const { return get<QLineEdit>("Text3"); }
    QPlainTextEdit *text2() const { return get<QPlainTextEdit>("Text2"); }
    QLabel *label2() const { return get<QLabel>("Label2"); }
    HitListView *list1() const { return get<HitListView>("List1"); }
    QPushButton *button(const char *name) const { return get<QPushButton>(name); }

    QStringList file_names() const
    {
        QStringList names;
        for (int i = 0; i < file1()->count(); ++i)
            names << file1()->name_at(i);
        return names;
    }
    QStringList entries() const
    {
        QStringList texts;
        for (qsizetype i = 0; i < form->hit_list()->count(); ++i)
            texts << form->hit_list()->text_at(i);
        return texts;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const MessageRequest &request : asked)
            texts << request.text;
        return texts;
    }

    // Runs `action` at the `pump`-th time pending events run from now (0 is the next):
    // each pump passes a queued step on to the one after it.
    static void at_pump(int pump, std::function<void()> action)
    {
        QMetaObject::invokeMethod(qApp, [pump, action = std::move(action)]() mutable {
            if (pump == 0)
                action();
            else
                at_pump(pump - 1, std::move(action));
        }, Qt::QueuedConnection);
    }

    std::unique_ptr<Form1> form;
    QList<MessageRequest> asked;
    MessageAnswer answer = MessageAnswer::Ok;
    std::function<void(const MessageRequest &)> on_ask;

private:
    QTemporaryDir m_root;
    QString m_saved_cwd;
};

}  // namespace fixture
