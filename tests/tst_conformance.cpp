// SPDX-License-Identifier: MIT
// The conformance suite passes against the simulated network and names exactly what is
// broken in a copy of it: each row breaks one thing the library relies on, by wrapping the
// simulator's objects or services in a decorator or, for the catalog, by the simulator's own switch.
#include "conformance/Conformance.h"
#include "support/SimFixture.h"

#include <QtTest>

using namespace DeviceAccess;

namespace {

enum class Breakage {
    None,
    KeysWithLetterCase,
    PropertiesFromZero,
    VariablesFromZero,
    MissingKeyIsNothing,
    FailureWithoutDescription,
    FailureWithQuietNumber,
    FormatNotKept,
    BadTextTaken,
    CatalogGivesZero,
    NoFormatService,
};

class BrokenProperty : public ConfigProperty
{
public:
    BrokenProperty(ConfigPropertyPtr inner, Breakage breakage)
        : m_inner(std::move(inner))
        , m_breakage(breakage)
    {
    }
    ObjectPtr Parent() const override { return m_inner->Parent(); }
    qint32 ObjectKind() const override { return m_inner->ObjectKind(); }
    QString Name() const override { return m_inner->Name(); }
    QString Format() const override { return m_inner->Format(); }
    void setFormat(const QString &format) override
    {
        if (m_breakage != Breakage::FormatNotKept)
            m_inner->setFormat(format);
    }
    QString ValueText() const override { return m_inner->ValueText(); }
    void setValueText(const QString &text) override
    {
        try {
            m_inner->setValueText(text);
        } catch (const DeviceError &) {
            if (m_breakage != Breakage::BadTextTaken)
                throw;
        }
    }
    QVariant Value() const override { return m_inner->Value(); }

private:
    ConfigPropertyPtr m_inner;
    Breakage m_breakage;
};

class BrokenProperties : public ConfigProperties
{
public:
    BrokenProperties(ConfigPropertiesPtr inner, Breakage breakage)
        : m_inner(std::move(inner))
        , m_breakage(breakage)
    {
    }
    ObjectPtr Parent() const override { return m_inner->Parent(); }
    qint32 ObjectKind() const override { return m_inner->ObjectKind(); }
    qint32 Count() const override { return m_inner->Count(); }
    ConfigPropertyPtr Item(const QString &name) const override
    {
        for (qint32 position = 1; position <= m_inner->Count(); ++position) {
            const ConfigPropertyPtr property = m_inner->Item(position);
            const auto sensitivity
                = m_breakage == Breakage::KeysWithLetterCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
            if (property->Name().compare(name, sensitivity) == 0)
                return std::make_shared<BrokenProperty>(property, m_breakage);
        }
        switch (m_breakage) {
        case Breakage::MissingKeyIsNothing:
            return nullptr;
        case Breakage::FailureWithoutDescription:
            throw DeviceError(DeviceError::ObjectErrorBase + 7, QString());
        case Breakage::KeysWithLetterCase:
            throw DeviceError(DeviceError::ObjectErrorBase + 7, QStringLiteral("no such property: ") + name);
        case Breakage::FailureWithQuietNumber:
            throw DeviceError(DeviceError::QuietNumber5030, QStringLiteral("no such property"));
        default:
            return m_inner->Item(name);
        }
    }
    ConfigPropertyPtr Item(qint32 position) const override
    {
        return m_inner->Item(m_breakage == Breakage::PropertiesFromZero ? position + 1 : position);
    }

private:
    ConfigPropertiesPtr m_inner;
    Breakage m_breakage;
};

class VariablesFromZero : public NetworkVariables
{
public:
    explicit VariablesFromZero(NetworkVariablesPtr inner)
        : m_inner(std::move(inner))
    {
    }
    ObjectPtr Parent() const override { return m_inner->Parent(); }
    qint32 ObjectKind() const override { return m_inner->ObjectKind(); }
    qint32 Count() const override { return m_inner->Count(); }
    NetworkVariablePtr Item(qint32 position) const override { return m_inner->Item(position + 1); }

private:
    NetworkVariablesPtr m_inner;
};

class BrokenBlock : public LonMarkObject
{
public:
    BrokenBlock(LonMarkObjectPtr inner, Breakage breakage)
        : m_inner(std::move(inner))
        , m_breakage(breakage)
    {
    }
    ObjectPtr Parent() const override { return m_inner->Parent(); }
    qint32 ObjectKind() const override { return m_inner->ObjectKind(); }
    QString Name() const override { return m_inner->Name(); }
    ConfigPropertiesPtr ConfigProperties() const override
    {
        return std::make_shared<BrokenProperties>(m_inner->ConfigProperties(), m_breakage);
    }
    NetworkVariablesPtr NetworkVariables() const override
    {
        if (m_breakage == Breakage::VariablesFromZero)
            return std::make_shared<VariablesFromZero>(m_inner->NetworkVariables());
        return m_inner->NetworkVariables();
    }

private:
    LonMarkObjectPtr m_inner;
    Breakage m_breakage;
};

class BrokenImplementation : public Implementation
{
public:
    BrokenImplementation(std::shared_ptr<Implementation> inner, Breakage breakage)
        : m_inner(std::move(inner))
        , m_breakage(breakage)
    {
    }
    std::shared_ptr<ResourceCatalog> createResourceCatalog() override { return m_inner->createResourceCatalog(); }
    std::shared_ptr<TypeService> createTypeService() override { return m_inner->createTypeService(); }
    std::shared_ptr<FormatCatalog> createFormatCatalog() override { return m_inner->createFormatCatalog(); }
    std::shared_ptr<FormatService> createFormatService() override
    {
        return m_breakage == Breakage::NoFormatService ? nullptr : m_inner->createFormatService();
    }
    std::shared_ptr<LanguageService> createLanguageService() override { return m_inner->createLanguageService(); }
    std::shared_ptr<LanguageFileService> createLanguageFileService() override
    {
        return m_inner->createLanguageFileService();
    }

private:
    std::shared_ptr<Implementation> m_inner;
    Breakage m_breakage;
};

} // namespace

Q_DECLARE_METATYPE(Breakage)

class TestConformance : public QObject
{
    Q_OBJECT

private slots:
    void namesWhatIsBroken_data()
    {
        QTest::addColumn<Breakage>("breakage");
        QTest::addColumn<QStringList>("failed");
        const auto row = [](const char *name, Breakage breakage, const QStringList &failed) {
            QTest::newRow(name) << breakage << failed;
        };
        row("the simulated network", Breakage::None, {});
        row("keys compared with letter case", Breakage::KeysWithLetterCase, { "properties.keysIgnoreCase" });
        row("properties counted from 0", Breakage::PropertiesFromZero, { "properties.oneBased" });
        row("variables counted from 0", Breakage::VariablesFromZero, { "networkVariables.oneBased" });
        row("a missing key gives nothing", Breakage::MissingKeyIsNothing, { "properties.missingKey" });
        row("a failure without description", Breakage::FailureWithoutDescription, { "failures.numberAndDescription" });
        row("a failure with a quiet number", Breakage::FailureWithQuietNumber, { "failures.numberAndDescription" });
        row("a set Format is not kept", Breakage::FormatNotKept, { "property.formatThenValue" });
        row("a bad value text is taken", Breakage::BadTextTaken, { "property.badTextRefused" });
        row("the catalog opens as 0", Breakage::CatalogGivesZero, { "catalog.paths" });
        row("no format service", Breakage::NoFormatService, { "services.created" });
    }
    void namesWhatIsBroken()
    {
        QFETCH(Breakage, breakage);
        QFETCH(QStringList, failed);

        TestSupport::SimFixture sim;
        QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
        const QString device = QStringLiteral("HWI-Controller 1");
        if (breakage == Breakage::CatalogGivesZero)
            sim->setCatalogAvailable(false);
        const QByteArray before = sim->toJson();

        Conformance::KnownDevice known;
        known.system = sim->system();
        known.device = sim->device(device);
        known.block = std::make_shared<BrokenBlock>(sim->block(device, QStringLiteral("HwInput[0]")), breakage);
        known.programId = sim->programId(device);
        known.scope = sim->scope(device);
        known.networkVariableName = QStringLiteral("nvoHwInput[0]");
        known.propertyName = QStringLiteral("SCPTmaxRnge");
        known.propertyValueText = QStringLiteral("50");
        BrokenImplementation implementation(sim->implementation(), breakage);

        const Conformance::Report report = Conformance::run(implementation, known);
        QCOMPARE(report.failedChecks(), failed);
        QCOMPARE(report.passed(), failed.isEmpty());
        // What the failure report tells is the check's name and what the implementation did.
        for (const QString &name : failed)
            QVERIFY2(report.toText().contains(QStringLiteral("FAIL ") + name + QLatin1Char(':')),
                qPrintable(report.toText()));
        // The suite closes every handle it opens and puts back what it writes.
        QCOMPARE(sim->openHandleCount(), 0);
        QCOMPARE(sim->toJson(), before);
        if (breakage == Breakage::None) {
            for (const Conformance::CheckResult &check : report.checks)
                QVERIFY2(check.outcome == Conformance::Outcome::Passed, qPrintable(check.name + ": " + check.detail));
        }
    }
};

QTEST_GUILESS_MAIN(TestConformance)
#include "tst_conformance.moc"
