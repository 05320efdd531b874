#include "record_window.h"

#include <string>

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// One "TAG     TEXT" line per field, lines joined by a row of underscores as LUMA shows them.
std::string CurrentRecordText(luma::BISO& iso) {
    std::string text;
    for (int i = 0; i < iso.GetFieldCount(); ++i) {
        if (!text.empty()) {
            text += "\r\n____\r\n";
        }
        text += iso.GetFieldName(i) + "     " + iso.GetFieldText(i);
    }
    return text;
}

}  // namespace

RecordWindow::RecordWindow(QWidget* parent)
    : QWidget(parent),
      m_fileLabel(new QLabel(this)),
      m_viewEdit(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("LUMA"));
    m_viewEdit->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("LUMA " LUMA_VERSION), this));
    layout->addWidget(m_fileLabel);
    layout->addWidget(m_viewEdit);
    resize(720, 520);
}

void RecordWindow::OpenFile(const QString& path) {
    m_fileLabel->setText(path);
    if (m_iso.Open(path.toStdString()) != 0) {
        const auto& error = m_iso.LastError();
        m_viewEdit->setPlainText(QString::fromStdString(error ? error->message : std::string()));
        return;
    }
    m_iso.SetRecord(0);
    m_viewEdit->setPlainText(QString::fromStdString(CurrentRecordText(m_iso)));
}
