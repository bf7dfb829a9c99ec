// SPDX-License-Identifier: MIT
// Input types and their defaults in the window: the device's input types (read once per
// device), "Apply defaults" (listing the changes first), the marks of the fields that
// differ from a type's defaults, "Save as input type..." and "Copy to inputs...".
#pragma once

#include "ConfigurationCopy.h"
#include "InputTypes.h"
#include "preview/WritePreview.h"

#include <QObject>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QPushButton;
class QWidget;

namespace Host {

class DefaultDeviations;
class HostWindow;

class DefaultsController : public QObject
{
public:
    explicit DefaultsController(HostWindow &window);

    // The feature's rows of the window's chooser, and their texts in the language shown.
    void build(QWidget *parent, QFormLayout *form);
    void retranslate(QFormLayout *form);

    // Reads the device's input types, unless they are those of this device already.
    void loadInputTypes(const QString &deviceName);
    // Another database: the input types are read again.
    void forgetInputTypes() { m_inputTypesDevice.clear(); }
    // Enables what the page shown and the input types allow, and says where they come from.
    void updateDefaultsOffer();
    void updateDeviations();
    void setMarkDeviations(bool on);
    DefaultDeviations *deviations() const { return m_deviations; }

    // See HostWindow for these.
    bool applyDefaults(const QString &type);
    bool askApplyDefaults(const QString &type = QString());
    bool saveAsInputType();
    bool saveAsInputType(const QString &type, const QString &file);
    bool copyToInputs();
    CopySummary copyToInputs(const QVector<InputRef> &targets);

private:
    bool writeDefaults(const QString &type);

    HostWindow &m_window;
    QComboBox *m_inputType = nullptr;
    QPushButton *m_applyDefaults = nullptr;
    QCheckBox *m_markDeviations = nullptr;
    DefaultDeviations *m_deviations = nullptr;
    QPushButton *m_saveAsType = nullptr;
    QPushButton *m_copyToInputs = nullptr;
    InputTypes m_inputTypes;
    QString m_inputTypesDevice; // the device whose input types are loaded
    QString m_inputTypesProblem; // why there are none
};

} // namespace Host
