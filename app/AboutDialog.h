// The About box: the application icon, name and version, closed with OK. Modal, created on the
// stack for one showing; GUI thread only.
#pragma once

#include <QDialog>

namespace korventa {

class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace korventa
