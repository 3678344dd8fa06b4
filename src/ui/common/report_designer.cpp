#include "ui/common/report_designer.h"

#include "common/messages.h"
#include "common/program_folder.h"
#include "report/template_engine.h"
#include "ui/common/report_view.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace tavomi {

ReportDesigner::ReportDesigner(const QString &templatePath, const report::ReportData &data, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
{
    QString relative = templatePath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    m_file = ProgramFolder::filePath(relative);
    setWindowTitle(QStringLiteral("设计打印报表 - ") + QFileInfo(m_file).fileName());
    resize(1100, 700);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("左边编辑报表格式（HTML；字段写作 {{数据集.列名}}，明细行放在 &lt;!--band lines--&gt; 与 "
                                                "&lt;!--endband--&gt; 之间），右边即时预览。Ctrl+S 保存。"),
                                 this));
    auto *split = new QSplitter(this);
    m_editor = new QPlainTextEdit(split);
    m_editor->setObjectName(QStringLiteral("editor"));
    QFont mono(QStringLiteral("Noto Sans Mono CJK SC"));
    mono.setStyleHint(QFont::Monospace);
    m_editor->setFont(mono);
    m_preview = new QTextBrowser(split);
    m_preview->setObjectName(QStringLiteral("preview"));
    split->addWidget(m_editor);
    split->addWidget(m_preview);
    layout->addWidget(split, 1);
    auto *buttons = new QHBoxLayout;
    auto *saveButton = new QPushButton(QStringLiteral("保存(&S)"), this);
    auto *print = new QPushButton(QStringLiteral("打印预览(&P)"), this);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(print);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    QString error;
    QString text = report::TemplateEngine::readTemplate(m_file, &error);
    if (text.isEmpty())
        text = report::TemplateEngine::fallback(m_data, QString());
    m_editor->setPlainText(text);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(300);
    connect(m_timer, &QTimer::timeout, this, &ReportDesigner::refreshPreview);
    connect(m_editor, &QPlainTextEdit::textChanged, m_timer, qOverload<>(&QTimer::start));
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            Messages::info(QStringLiteral("报表格式已保存"));
    });
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] { save(); });
    connect(print, &QPushButton::clicked, this, [this, templatePath] {
        if (save())
            ShowReportFile(this, templatePath, m_data);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refreshPreview();
}

void ReportDesigner::refreshPreview()
{
    m_preview->setHtml(report::TemplateEngine::fill(m_editor->toPlainText(), m_data));
}

bool ReportDesigner::save()
{
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly) || f.write(m_editor->toPlainText().toUtf8()) < 0 || !f.commit()) {
        Messages::warning(QStringLiteral("报表文件不能保存：") + m_file);
        return false;
    }
    return true;
}

void DesignReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data)
{
    Messages::info(QStringLiteral("建议您在设计报表前先备份一份报表文件!\n备份方法:将本软件安装目录-zcfrf文件夹下面扩展名为[.frf]文件 复制一份起来即可!"));
    ReportDesigner designer(templatePath, data, parent);
    designer.exec();
}

} // namespace tavomi
