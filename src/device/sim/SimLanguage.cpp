// SPDX-License-Identifier: MIT
// The language service (display strings, font and character set of the language in
// use) and the language-file service (unit texts of the resource sets).
#include "device/sim/SimErrors.h"
#include "device/sim/SimServices.h"

namespace Sim {
namespace {

using namespace DeviceAccess;

const LanguageDef *current(const NetworkModel &model)
{
    const LanguageDef *def = model.languageDef(model.language);
    return def ? def : (model.languages.empty() ? nullptr : &model.languages.front());
}

class SimLanguageService : public LanguageService
{
public:
    explicit SimLanguageService(CorePtr core)
        : m_core(std::move(core))
    {
    }
    QDateTime GetStringsChangeTime() override
    {
        m_core->enter(QStringLiteral("LanguageService.GetStringsChangeTime"), {});
        return m_core->stringsChangeTime;
    }
    StringCollectionPtr GetApplicationStrings(const QString &application) override
    {
        m_core->enter(QStringLiteral("LanguageService.GetApplicationStrings"), { application });
        auto strings = std::make_shared<StringCollection>();
        const LanguageDef *def = current(m_core->model);
        if (!def)
            return strings;
        for (auto app = def->applications.cbegin(); app != def->applications.cend(); ++app) {
            if (app.key().compare(application, Qt::CaseInsensitive) != 0)
                continue;
            for (auto entry = app->cbegin(); entry != app->cend(); ++entry)
                strings->Add(entry.value(), entry.key());
        }
        return strings;
    }
    QString GetFontName() override
    {
        m_core->enter(QStringLiteral("LanguageService.GetFontName"), {});
        const LanguageDef *def = current(m_core->model);
        return def ? def->fontName : QString();
    }
    qint16 GetFontCharset() override
    {
        m_core->enter(QStringLiteral("LanguageService.GetFontCharset"), {});
        const LanguageDef *def = current(m_core->model);
        return def ? def->charset : 0;
    }

private:
    CorePtr m_core;
};

class SimLanguageFileService : public LanguageFileService
{
public:
    explicit SimLanguageFileService(CorePtr core)
        : m_core(std::move(core))
    {
    }
    qint32 OpenLanguageFile(const QString &path) override
    {
        m_core->enter(QStringLiteral("LanguageFileService.OpenLanguageFile"), { path });
        if (path.isEmpty())
            return 0;
        for (const auto &set : m_core->model.resourceSets) {
            if (set->languageFile.compare(path, Qt::CaseInsensitive) == 0)
                return m_core->handles.open(HandleKind::LanguageFile, path, set.get());
        }
        return 0;
    }
    QString GetLanguageText(qint32 languageFileHandle, qint32 unitIndex) override
    {
        m_core->enterWithArguments(QStringLiteral("LanguageFileService.GetLanguageText"), [&] {
            return QStringList { QString::number(languageFileHandle), QString::number(unitIndex) };
        });
        const OpenHandle &handle = m_core->handles.get(languageFileHandle, { HandleKind::LanguageFile });
        // The language in use, else English, else any language that has the text.
        const auto &texts = handle.set->unitTexts;
        for (const QString &code : { m_core->model.language, QStringLiteral("en") }) {
            const auto it = texts.constFind(code);
            if (it != texts.constEnd() && it->contains(unitIndex))
                return it->value(unitIndex);
        }
        for (const auto &perLanguage : texts) {
            if (perLanguage.contains(unitIndex))
                return perLanguage.value(unitIndex);
        }
        Errors::raise(Errors::UnknownResource,
            QStringLiteral("The language file '%1' has no text %2.").arg(handle.path).arg(unitIndex));
    }

private:
    CorePtr m_core;
};

} // namespace

std::shared_ptr<DeviceAccess::LanguageService> makeLanguageService(const CorePtr &core)
{
    return std::make_shared<SimLanguageService>(core);
}

std::shared_ptr<DeviceAccess::LanguageFileService> makeLanguageFileService(const CorePtr &core)
{
    return std::make_shared<SimLanguageFileService>(core);
}

} // namespace Sim
