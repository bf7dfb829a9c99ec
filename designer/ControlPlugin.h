// SPDX-License-Identifier: MIT
// Designer's description of one of the library's controls: where it sits in the widget
// box, the header a generated form includes, and how Designer creates it.
#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>

class ControlPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    using Factory = std::function<QWidget *(QWidget *parent)>;

    // objectName: the name a control dropped on a form gets, which uic makes a member of the
    // form's class; it must differ from the class name, or the generated code does not build.
    ControlPlugin(const QString &className, const QString &objectName, const QString &includeFile,
        const QString &toolTip, Factory create, QObject *parent = nullptr);

    QString name() const override { return m_className; }
    QString group() const override { return QStringLiteral("VqZovezuVaveva"); }
    QString toolTip() const override { return m_toolTip; }
    QString whatsThis() const override { return m_toolTip; }
    QString includeFile() const override { return m_includeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QString domXml() const override;
    bool isInitialized() const override { return m_initialized; }
    void initialize(QDesignerFormEditorInterface *) override { m_initialized = true; }
    QWidget *createWidget(QWidget *parent) override;

private:
    QString m_className;
    QString m_objectName;
    QString m_includeFile;
    QString m_toolTip;
    Factory m_create;
    bool m_initialized = false;
};
