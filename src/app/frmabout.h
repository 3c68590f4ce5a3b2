// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: product name, version and an OK button.

#include <QDialog>

namespace rw {

class TfmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfmAbout(QWidget *parent = nullptr);
};

} // namespace rw
