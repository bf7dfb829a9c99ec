// SPDX-License-Identifier: MIT
// A host window with both controls of one input, on a simulated network.
// Usage: consumer <network.json> [device] [block] [--us] [--quit]
#include <device/DeviceAccess.h>
#include <device/sim/SimNetwork.h>
#include <hardware/ctlSensorHardware.h>
#include <network/ctlSensorNV.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// Messages arrive as an event; taking them (IsReceived) keeps the control's own box away.
void printMessage(
    const QString &Message, const QString &Modulename, const QString &FunctionName, qint32, bool &IsReceived)
{
    std::fprintf(stderr, "%s %s: %s\n", qPrintable(Modulename), qPrintable(FunctionName), qPrintable(Message));
    IsReceived = true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool quit = args.removeAll(QStringLiteral("--quit")) > 0;
    const bool us = args.removeAll(QStringLiteral("--us")) > 0;
    if (args.size() < 2) {
        std::fputs("usage: consumer <network.json> [device] [block] [--us] [--quit]\n", stderr);
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
    // US units take two settings: the controls' measurement system, and the database's format
    // locale, the system in which the device library reads and writes a value in its default
    // format (a real device library has its own setting for it). Set both, or neither.
    const qint16 units = us ? MEASUREMENT_SYSTEM_US : MEASUREMENT_SYSTEM_SI;
    network->setFormatLocale(units);
    const QString device = args.value(2, network->deviceNames().value(0));
    const QString block = args.value(3, network->blockNames(device).value(0));

    // The controls go into the host's layout like any widget; each asks for its design size.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *row = new QHBoxLayout;
    auto *hardware = new ctlSensorHardware;
    auto *nv = new ctlSensorNV;
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    row->addWidget(hardware, 0, Qt::AlignTop);
    row->addWidget(nv, 0, Qt::AlignTop);
    layout->addLayout(row);
    layout->addWidget(buttons);

    // Events with by-reference parameters need direct connections (the default here).
    QObject::connect(hardware, &ctlSensorHardware::MessageEvent, printMessage);
    QObject::connect(nv, &ctlSensorNV::MessageEvent, printMessage);
    // The two controls never call each other: the host relays the set-point-offset mode.
    QObject::connect(hardware, &ctlSensorHardware::OnSetpointOffSetEvent,
        [nv](bool &IsSetpointOffSet) { nv->UpdateSetpointOffSet(IsSetpointOffSet); });

    // Hand over the device objects, then initialise once: the network side first, so that
    // it takes the set-point-offset mode the hardware side announces while it initialises.
    hardware->setSystem(network->system());
    hardware->setDeviceObject(network->device(device));
    hardware->setDeviceProgID(network->programId(device));
    hardware->setDRFScope(network->scope(device));
    hardware->setChoice(QString()); // every interpretation
    hardware->setMesureUnit(units);
    hardware->setNodeObject(network->block(device, block));
    nv->setSystem(network->system());
    nv->setDeviceObject(network->device(device));
    nv->setDeviceProgID(network->programId(device));
    nv->setMesureUnit(units);
    nv->setNodeObject(network->block(device, block));
    nv->ZovezuVavevaInit();
    hardware->ZovezuVavevaInit();

    // OK writes what the user changed (WriteValue returns true on a failure) and saves the
    // network. NoChangeButOKPress is the hardware control's flag of the user's edits; its
    // ValueChanged also counts a stored interpretation its list does not offer, which OK
    // would otherwise replace with the first item offered.
    QObject::connect(buttons, &QDialogButtonBox::accepted, [&] {
        const bool hardwareFailed = hardware->NoChangeButOKPress() && hardware->WriteValue();
        const bool nvFailed = nv->ValueChanged() && nv->WriteValue();
        network->save(); // what was written is kept, also after a failure
        if (!hardwareFailed && !nvFailed)
            window.close();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);

    window.show();
    if (quit) {
        // A check without a user: both controls were laid out at least at their design sizes.
        QApplication::processEvents();
        for (const QWidget *control : { static_cast<QWidget *>(hardware), static_cast<QWidget *>(nv) }) {
            const QSize shown = control->size();
            std::printf("consumer: %s %dx%d in a %dx%d window\n", control->metaObject()->className(), shown.width(),
                shown.height(), window.width(), window.height());
            if (shown.expandedTo(control->sizeHint()) != shown || !control->isVisible())
                return 1;
        }
        return 0;
    }
    return app.exec();
}
