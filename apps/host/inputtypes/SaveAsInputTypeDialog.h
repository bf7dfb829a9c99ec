// SPDX-License-Identifier: MIT
// "Save as input type": which input type's section of which defaults file takes the
// shown input's configuration.
#pragma once

#include "page/ControlHandover.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace Host {

class SaveAsInputTypeDialog : public QDialog
{
    Q_OBJECT

public:
    SaveAsInputTypeDialog(
        const InputRef &source, const QStringList &inputTypes, const QString &file, QWidget *parent = nullptr);

    QString inputType() const;
    void setInputType(const QString &type);
    QString file() const;

private:
    void browse();

    QComboBox *m_type = nullptr;
    QLineEdit *m_file = nullptr;
};

} // namespace Host
