// SPDX-License-Identifier: MIT
// Shared by the fuzz targets that drive the hardware control: an offscreen application,
// the sample network as loaded for every input (so that no input sees what an earlier one
// wrote), seams that answer at once, and a way to store a property's text as a
// damaged device would hand it over, without the simulator's checks.
#pragma once

#include "device/DeviceAccess.h"
#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/ProcessStateTesting.h"
#include "shared/Seams.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <cstdlib>
#include <functional>
#include <memory>

namespace HardwareFuzz {

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

// What a modal dialog does while it is "shown"; without a driver it is cancelled at once.
inline std::function<int(QDialog &)> &modalDriver()
{
    static std::function<int(QDialog &)> driver;
    return driver;
}

// Once per process: the application and the seams. Message boxes answer OK at once.
inline void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = { name, nullptr };
    // Destroyed at exit, so that Qt hands back what its font database holds.
    static QApplication application(argc, argv);
    MKorvane::setMessageBoxHandler([](const QString &, int, const QString &) { return MKorvane::vbOK; });
    MKorvane::setMousePointerHandlers([] { return 0; }, [](int) {});
    MKorvane::setEventProcessor([] {});
    MKorvane::setModalRunner([](QDialog &dialog) {
        if (modalDriver())
            return modalDriver()(dialog);
        dialog.reject();
        return int(QDialog::Rejected);
    });
}

// The sample network, loaded once and given back its stored values and formats before every
// input: loading it anew for each input would take most of the time.
inline std::shared_ptr<Sim::Network> pristineNetwork()
{
    struct Kept
    {
        Sim::StoredValue value;
        QString format;
    };
    static std::shared_ptr<Sim::Network> network;
    static std::vector<std::pair<Sim::CpNode *, Kept>> cps;
    static std::vector<std::pair<Sim::NvNode *, Kept>> nvs;
    if (!network) {
        network = Sim::Network::load(QStringLiteral(VQ_SAMPLE_NETWORK));
        network->setLogging(false);
        for (const auto &device : network->model().devices) {
            for (const auto &block : device->blocks) {
                for (const auto &cp : block->cps)
                    cps.push_back({ cp, { cp->value, cp->format() } });
                for (const auto &nv : block->nvs) {
                    nvs.push_back({ nv, { nv->value, nv->format } });
                    for (const auto &cp : nv->cps)
                        cps.push_back({ cp, { cp->value, cp->format() } });
                }
            }
        }
    }
    for (auto &[cp, kept] : cps) {
        cp->value = kept.value;
        cp->setFormat(kept.format);
    }
    for (auto &[nv, kept] : nvs) {
        nv->value = kept.value;
        nv->format = kept.format;
    }
    return network;
}

// A control on one block of the sample network as loaded, with its reports recorded.
struct Input
{
    std::shared_ptr<Sim::Network> network;
    std::unique_ptr<ctlSensorHardware> control;
    QString device;
    QString block;
    QStringList reports; // MessageEvent: "FunctionName: Message"

    // The sample network as it was loaded, and a control on one block of its first device;
    // the control is set up the way a host does, but not yet initialised.
    void open(const QString &blockName, qint16 unit)
    {
        network = pristineNetwork();
        DeviceAccess::install(nullptr);
        MKorvane::resetForTests();
        DeviceAccess::install(network->implementation());
        device = network->deviceNames().value(0);
        block = blockName;
        check(network->block(device, block) != nullptr);
        control = std::make_unique<ctlSensorHardware>();
        QObject::connect(control.get(), &ctlSensorHardware::MessageEvent, control.get(),
            [this](const QString &Message, const QString &, const QString &FunctionName, qint32, bool &IsReceived) {
                reports.append(FunctionName + QStringLiteral(": ") + Message);
                IsReceived = true;
            });
        control->setDeviceProgID(network->programId(device));
        control->setDRFScope(network->scope(device));
        control->setChoice(QString());
        control->setMesureUnit(unit);
        control->setSystem(network->system());
        control->setDeviceObject(network->device(device));
        control->setNodeObject(network->block(device, block));
    }

    // Stores the text as the device would hand it over, unchecked.
    void storeRaw(const QString &cpName, const QString &text)
    {
        Sim::CpNode *cp = network->model().device(device)->block(block)->cp(cpName);
        check(cp != nullptr);
        cp->value.text = text;
    }

    QString stored(const QString &cpName) const
    {
        return network->model().device(device)->block(block)->cp(cpName)->value.text;
    }
};

} // namespace HardwareFuzz
