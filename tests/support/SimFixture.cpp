// SPDX-License-Identifier: MIT
// The per-test simulated network.
#include "support/SimFixture.h"

#include "device/DeviceAccess.h"
#include "shared/ProcessStateTesting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

QString SimFixture::sampleNetworkPath()
{
    return QStringLiteral(VQ_DATA_DIR) + QStringLiteral("/sample-network.json");
}

QString SimFixture::testDataPath(const QString &fileName)
{
    if (QFileInfo(fileName).isAbsolute())
        return fileName;
    return QStringLiteral(VQ_TEST_DATA_DIR) + QLatin1Char('/') + fileName;
}

SimFixture::SimFixture(const QString &fileName)
{
    const QString source = fileName.isEmpty() ? sampleNetworkPath() : testDataPath(fileName);
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("Cannot create a temporary folder: %1").arg(m_dir.errorString());
        return;
    }
    m_databasePath = QDir(m_dir.path()).filePath(QFileInfo(source).fileName());
    if (!QFile::copy(source, m_databasePath)) {
        m_error = QStringLiteral("Cannot copy %1 to %2").arg(source, m_databasePath);
        return;
    }
    // The copy inherits the read-only flag of a checked-out file; the sim must be able to save.
    QFile::setPermissions(m_databasePath, QFile::permissions(m_databasePath) | QFile::WriteOwner);
    loadCopy();
}

SimFixture::~SimFixture()
{
    // Drop the services that refer to this network before it goes.
    DeviceAccess::install(nullptr);
    MKorvane::resetForTests();
}

bool SimFixture::reload()
{
    if (m_databasePath.isEmpty())
        return false;
    m_network.reset();
    DeviceAccess::install(nullptr);
    return loadCopy();
}

bool SimFixture::loadCopy()
{
    try {
        m_network = Sim::Network::load(m_databasePath);
    } catch (const Sim::LoadError &error) {
        m_error = error.message();
        m_network.reset();
        return false;
    }
    DeviceAccess::install(m_network->implementation());
    MKorvane::resetForTests();
    m_error.clear();
    return true;
}

QString SimFixture::firstDeviceName() const
{
    if (!m_network)
        return QString();
    const QStringList names = m_network->deviceNames();
    return names.isEmpty() ? QString() : names.first();
}

QString SimFixture::firstBlockName() const
{
    if (!m_network)
        return QString();
    const QStringList names = m_network->blockNames(firstDeviceName());
    return names.isEmpty() ? QString() : names.first();
}

DeviceAccess::AppDevicePtr SimFixture::firstDevice() const
{
    return m_network ? m_network->device(firstDeviceName()) : nullptr;
}

DeviceAccess::LonMarkObjectPtr SimFixture::firstBlock() const
{
    return m_network ? m_network->block(firstDeviceName(), firstBlockName()) : nullptr;
}

} // namespace TestSupport
