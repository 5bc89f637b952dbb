#include "TLForm.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>

#include "LanguageFile.h"

namespace {

std::filesystem::path& languagePathOverride() {
    static std::filesystem::path path;
    return path;
}

std::string toBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace

TLForm::TLForm(QWidget* owner, const QString& name) : QDialog(owner) {
    setObjectName(name);
}

TLForm::~TLForm() {
    // The derived window is gone but its controls, being children, are not
    // deleted before QWidget's destructor; they still show their captions.
    SaveCaptions();
}

void TLForm::registerComponent(QObject* component) {
    if (!component) return;
    // The window owns its components: one without a parent (a non-visual
    // component) dies with the window.
    if (!component->parent()) {
        if (auto widget = qobject_cast<QWidget*>(component)) widget->setParent(this);
        else component->setParent(this);
    }
    components_.append(component);
}

bool TLForm::hasCaption(const QObject* component) {
    return qobject_cast<const QLabel*>(component) || qobject_cast<const QAbstractButton*>(component);
}

std::optional<std::string> TLForm::caption(const QObject* component) {
    if (auto label = qobject_cast<const QLabel*>(component)) return toBytes(label->text());
    if (auto button = qobject_cast<const QAbstractButton*>(component)) return toBytes(button->text());
    return std::nullopt;
}

void TLForm::setCaption(QObject* component, const std::string& text) {
    if (auto label = qobject_cast<QLabel*>(component)) label->setText(fromBytes(text));
    else if (auto button = qobject_cast<QAbstractButton*>(component)) button->setText(fromBytes(text));
}

void TLForm::addText(std::string key, std::string text) {
    texts_.emplace_back(std::move(key), std::move(text));
}

std::string TLForm::FormText(std::string_view key) const {
    for (const auto& [name, text] : texts_)
        if (name == key) return text;
    return {};
}

std::filesystem::path TLForm::languageFilePath() {
    if (!languagePathOverride().empty()) return languagePathOverride();
    std::filesystem::path program = QCoreApplication::applicationFilePath().toStdString();
    return program.replace_extension(".INI");
}

void TLForm::setLanguageFilePath(std::filesystem::path path) {
    languagePathOverride() = std::move(path);
}

std::string TLForm::sectionName() const {
    return toBytes(objectName());
}

void TLForm::LoadCaptions() {
    LanguageFile file;
    if (file.load(languageFilePath()) != LanguageFile::LoadStatus::Loaded) return;
    const std::string section = sectionName();
    if (auto title = file.value(section, "Caption")) setWindowTitle(fromBytes(*title));
    // The count is read at every step: a caption change may add or remove
    // components.
    for (qsizetype i = 0; i < ComponentCount(); ++i) {
        QObject* component = Components(i);
        if (!component || !hasCaption(component) || component->objectName().isEmpty()) continue;
        if (auto text = file.value(section, toBytes(component->objectName())))
            setCaption(component, *text);
    }
    for (auto& [key, text] : texts_)
        if (auto value = file.value(section, key)) text = *value;
}

bool TLForm::SaveCaptions() {
    LanguageFile file;
    const std::filesystem::path path = languageFilePath();
    // Writing over a file that could not be read would lose it.
    if (file.load(path) == LanguageFile::LoadStatus::Unreadable) return false;
    const std::string section = sectionName();
    file.setValue(section, "Caption", toBytes(windowTitle()));
    for (qsizetype i = 0; i < ComponentCount(); ++i) {
        QObject* component = Components(i);
        if (!component || component->objectName().isEmpty()) continue;
        if (auto text = caption(component)) file.setValue(section, toBytes(component->objectName()), *text);
    }
    for (const auto& [key, text] : texts_) file.setValue(section, key, text);
    return file.save(path);
}
