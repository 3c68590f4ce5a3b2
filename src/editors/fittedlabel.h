// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label of fixed size that fits every text it is to show. Fixed, a new text does not
// send the layout around it through a new pass; a font changed while the window is open
// fits it anew.

#include <QLabel>
#include <QStringList>

namespace rw {

class FittedLabel : public QLabel {
public:
    // At least `minimumWidth` pixels wide; `texts` holds the longest texts it will show.
    FittedLabel(const QString &text, QStringList texts, int minimumWidth, QWidget *parent);
    // The room its place offers, used where it is wider than the texts need (a long path
    // then shows more of itself). Set when the window's size changes, not with a text.
    void setRoom(int width);

protected:
    void changeEvent(QEvent *e) override;

private:
    void fit();

    QStringList texts_;
    int minimumWidth_;
    int room_ = 0;
};

} // namespace rw
