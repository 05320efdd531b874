#pragma once
// A plain window showing the first record of one file; it stands in until the main dialog.

#include <QWidget>

#include "marking/biso.h"

class QLabel;
class QPlainTextEdit;

class RecordWindow : public QWidget {
    Q_OBJECT

public:
    explicit RecordWindow(QWidget* parent = nullptr);

    // Opens the file and shows its first record, or why it could not be opened.
    void OpenFile(const QString& path);

private:
    luma::BISO m_iso;
    QLabel* m_fileLabel = nullptr;
    QPlainTextEdit* m_viewEdit = nullptr;
};
