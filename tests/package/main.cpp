// SPDX-License-Identifier: MIT
// A host window with the hardware control of one input, on a simulated network.
// Usage: consumer <network.json> [device] [block] [--quit]
#include <device/DeviceAccess.h>
#include <device/sim/SimNetwork.h>
#include <hardware/ctlSensorHardware.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool quit = args.removeAll(QStringLiteral("--quit")) > 0;
    if (args.size() < 2) {
        std::fputs("usage: consumer <network.json> [device] [block] [--quit]\n", stderr);
        return 2;
    }

    // The device library: here the simulated network, in a plug-in the maker's library.
    std::shared_ptr<Sim::Network> network;
    try {
        network = Sim::Network::load(args.at(1));
    } catch (const Sim::LoadError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    DeviceAccess::install(network->implementation());
    const QString device = args.value(2, network->deviceNames().value(0));
    const QString block = args.value(3, network->blockNames(device).value(0));

    // The control goes into the host's layout like any widget; it asks for its design size.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *control = new ctlSensorHardware;
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(control);
    layout->addWidget(buttons);

    // Messages arrive as an event; taking them (IsReceived) keeps the control's own box away.
    QObject::connect(control, &ctlSensorHardware::MessageEvent,
        [](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32, bool &IsReceived) {
            std::fprintf(stderr, "%s %s: %s\n", qPrintable(Modulename), qPrintable(FunctionName), qPrintable(Message));
            IsReceived = true;
        });
    // Hand over the device objects, then initialise once.
    control->setDeviceProgID(network->programId(device));
    control->setDRFScope(network->scope(device));
    control->setChoice(QString()); // every interpretation
    control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
    control->setSystem(network->system());
    control->setDeviceObject(network->device(device));
    control->setNodeObject(network->block(device, block));
    control->ZovezuVavevaInit();

    // OK writes what changed (WriteValue returns true on a failure) and saves the network.
    QObject::connect(buttons, &QDialogButtonBox::accepted, [&] {
        if (!control->ValueChanged() || !control->WriteValue()) {
            network->save();
            window.close();
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);

    window.show();
    if (quit) {
        // A check without a user: the control was laid out at least at its design size.
        QApplication::processEvents();
        const QSize shown = control->size();
        std::printf("consumer: control %dx%d in a %dx%d window\n", shown.width(), shown.height(), window.width(),
            window.height());
        return shown.expandedTo(control->sizeHint()) == shown && control->isVisible() ? 0 : 1;
    }
    return app.exec();
}
