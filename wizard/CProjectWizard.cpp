#include "CProjectWizard.h"

#include "PanelCatalogue.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"
#include "TextFormats.h"

// Qt
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWizardPage>

#include <cstring>
#include <functional>
#include <memory>

namespace {

QLabel* Buddy(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A page whose Next or Finish button waits for a condition.
class CCheckedPage : public QWizardPage
{
public:
    using QWizardPage::registerField;
    std::function<bool()> complete;

    bool isComplete() const override { return complete ? complete() : true; }
};

// The catalogue's model at a combo box item's index, or nullptr.
const PanelCatalogue::Model* ModelAt(int index)
{
    const std::vector<PanelCatalogue::Model>& all = PanelCatalogue::Models();
    return index >= 0 && index < int(all.size()) ? &all[size_t(index)] : nullptr;
}

} // namespace

CProjectWizard::CProjectWizard(QWidget* parent) : QWizard(parent)
{
    setWindowTitle(QStringLiteral("Quillmark - Eingabeassistent"));
    setObjectName(QStringLiteral("ProjectWizard"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    // Going back and forth keeps what the user set on a page.
    setOption(QWizard::IndependentPages);
    // German texts of our own, whether or not the program has loaded Qt's translations.
    setButtonText(QWizard::BackButton, QStringLiteral("< &Zurück"));
    setButtonText(QWizard::NextButton, QStringLiteral("&Weiter >"));
    setButtonText(QWizard::FinishButton, QStringLiteral("&Fertig stellen"));
    setButtonText(QWizard::CancelButton, QStringLiteral("Abbrechen"));

    // Start: what the technician wants to do.
    auto* start = new CCheckedPage;
    start->setTitle(QStringLiteral("Willkommen bei Quillmark"));
    start->setSubTitle(QStringLiteral("Wählen Sie, womit Sie beginnen möchten."));
    auto* newProject = new QRadioButton(QStringLiteral("&Neues Projekt anlegen"));
    auto* openProject = new QRadioButton(QStringLiteral("&Bestehendes Projekt öffnen"));
    auto* fromFat = new QRadioButton(QStringLiteral("&Texte aus dem FAT auslesen"));
    newProject->setObjectName(QStringLiteral("newProject"));
    openProject->setObjectName(QStringLiteral("openProject"));
    fromFat->setObjectName(QStringLiteral("fromFat"));
    newProject->setChecked(true);
    auto* startLayout = new QVBoxLayout(start);
    startLayout->addWidget(new QLabel(QStringLiteral(
        "Ein neues Projekt legt die Zentrale, das Eingabeformat und die Größe der Anzeige "
        "fest.\nTexte aus dem FAT: die Einstellungen kommen beim Auslesen aus dem FAT.")));
    startLayout->addSpacing(8);
    startLayout->addWidget(newProject);
    startLayout->addWidget(openProject);
    startLayout->addWidget(fromFat);
    startLayout->addStretch(1);
    start->registerField(QStringLiteral("newProject"), newProject);
    start->registerField(QStringLiteral("openProject"), openProject);
    start->registerField(QStringLiteral("fromFat"), fromFat);
    setPage(StartPage, start);

    // New project, first page: panel and text format.
    auto* panel = new CCheckedPage;
    panel->setTitle(QStringLiteral("Neues Projekt: Zentrale"));
    panel->setSubTitle(QStringLiteral("Hersteller und Zentrale, an die das FAT angeschlossen ist, "
                                      "und das Eingabeformat der Texte."));
    auto* maker = new QComboBox;
    auto* model = new QComboBox;
    auto* format = new QComboBox;
    maker->setObjectName(QStringLiteral("maker"));
    model->setObjectName(QStringLiteral("model"));
    format->setObjectName(QStringLiteral("format"));
    for (const PanelCatalogue::Maker& m : PanelCatalogue::Makers())
        maker->addItem(QString::fromLatin1(m.name), m.panelType);
    auto* panelForm = new QFormLayout(panel);
    panelForm->addRow(Buddy(QStringLiteral("&Hersteller:"), maker), maker);
    panelForm->addRow(Buddy(QStringLiteral("Zen&trale:"), model), model);
    panelForm->addRow(Buddy(QStringLiteral("&Eingabeformat:"), format), format);
    panel->registerField(QStringLiteral("model"), model, "currentData");
    panel->registerField(QStringLiteral("format"), format, "currentData");
    auto fillModels = [maker, model] {
        model->clear();
        const std::vector<PanelCatalogue::Model>& all = PanelCatalogue::Models();
        for (int i = 0; i < int(all.size()); ++i)
            if (all[i].panelType == maker->currentData().toInt())
                model->addItem(QString::fromLatin1(all[i].printText), i);
    };
    auto fillFormats = [model, format] {
        const int previous = format->currentData().toInt();
        format->clear();
        const PanelCatalogue::Model* m = ModelAt(model->currentData().toInt());
        if (!m)
            return;
        for (const TextFormats::Format& f : TextFormats::All())
            if (std::strchr(m->formatTags, f.tag))
                format->addItem(QString::fromLatin1(f.name), f.textFormat);
        const int keep = format->findData(previous);
        format->setCurrentIndex(keep >= 0 ? keep : 0);
    };
    connect(maker, qOverload<int>(&QComboBox::currentIndexChanged), this, fillModels);
    connect(model, qOverload<int>(&QComboBox::currentIndexChanged), this, fillFormats);
    fillModels();
    fillFormats();
    setPage(PanelPage, panel);

    // New project, second page: display size, record limit and digit counts.
    auto* layout = new CCheckedPage;
    layout->setTitle(QStringLiteral("Neues Projekt: Anzeige und Nummern"));
    layout->setSubTitle(QStringLiteral("Größe der Anzeige des FAT, die größte Zahl der Texte und "
                                       "die Stellen der Nummern."));
    auto* lineChars = new QSpinBox;
    auto* records = new QSpinBox;
    auto* groupDigits = new QSpinBox;
    auto* detectorDigits = new QSpinBox;
    auto* pseudoDigits = new QSpinBox;
    lineChars->setObjectName(QStringLiteral("lineChars"));
    records->setObjectName(QStringLiteral("records"));
    groupDigits->setObjectName(QStringLiteral("groupDigits"));
    detectorDigits->setObjectName(QStringLiteral("detectorDigits"));
    pseudoDigits->setObjectName(QStringLiteral("pseudoDigits"));
    lineChars->setRange(ProjectLimits::MinDisplayChars / 2, ProjectLimits::MaxDisplayChars / 2);
    lineChars->setValue(20);
    records->setRange(ProjectLimits::MinRecords, ProjectLimits::MaxRecords);
    records->setValue(1000);
    records->setGroupSeparatorShown(false);
    groupDigits->setRange(ProjectLimits::MinDigits, ProjectLimits::MaxGroupDigits);
    detectorDigits->setRange(ProjectLimits::MinDigits, ProjectLimits::MaxDetectorDigits);
    pseudoDigits->setRange(ProjectLimits::MinDigits, ProjectLimits::MaxPseudoGroupDigits);
    pseudoDigits->setValue(4);
    auto* lengths = new QLabel;
    auto* problem = new QLabel;
    lengths->setObjectName(QStringLiteral("lengths"));
    problem->setObjectName(QStringLiteral("problem"));
    problem->setStyleSheet(QStringLiteral("color: #b00000"));
    problem->setWordWrap(true);
    auto* groupLabel = Buddy(QStringLiteral("Stellen der &MelderGruppe:"), groupDigits);
    auto* detectorLabel = Buddy(QStringLiteral("Stellen der M&elder:"), detectorDigits);
    auto* layoutForm = new QFormLayout(layout);
    layoutForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    layoutForm->addRow(Buddy(QStringLiteral("Zeichen je &Anzeigezeile:"), lineChars), lineChars);
    layoutForm->addRow(Buddy(QStringLiteral("&Höchstens Texte:"), records), records);
    layoutForm->addRow(groupLabel, groupDigits);
    layoutForm->addRow(detectorLabel, detectorDigits);
    layoutForm->addRow(Buddy(QStringLiteral("Stellen der &Pseudo MelderGruppe:"), pseudoDigits),
                       pseudoDigits);
    layoutForm->addRow(QString(), lengths);
    layoutForm->addRow(QString(), problem);
    for (const char* name :
         {"lineChars", "records", "groupDigits", "detectorDigits", "pseudoDigits"})
        layout->registerField(QString::fromLatin1(name), layout->findChild<QSpinBox*>(name));

    auto refresh = [this, layout, lengths, problem] {
        const ProjectData d = NewProjectData();
        lengths->setText(QStringLiteral("Text 1: %1 Zeichen, Text 2: %2 Zeichen")
                             .arg(qMax(0, d.text1Length))
                             .arg(d.text2Length));
        problem->setText(ProjectLimits::Check(d));
        emit layout->completeChanged();
    };
    layout->complete = [this] { return ProjectLimits::WithinLimits(NewProjectData()); };
    for (QSpinBox* spin : {lineChars, records, groupDigits, detectorDigits, pseudoDigits})
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, refresh);
    // Entering the page with another panel than last time sets that panel's defaults.
    auto defaultsFor = std::make_shared<int>(-1);
    connect(this, &QWizard::currentIdChanged, this,
            [this, model, groupDigits, detectorDigits, pseudoDigits, groupLabel, detectorLabel,
             refresh, defaultsFor](int id) {
                if (id != LayoutPage)
                    return;
                const int index = model->currentData().toInt();
                const PanelCatalogue::Model* m = ModelAt(index);
                if (m && index != *defaultsFor) {
                    groupDigits->setValue(m->groupDigits);
                    detectorDigits->setValue(m->detectorDigits);
                    *defaultsFor = index;
                    const bool notifier = m->panelType == PanelType::Notifier;
                    groupLabel->setText(notifier ? QStringLiteral("Stellen Zentrale / &Loop:")
                                                 : QStringLiteral("Stellen der &MelderGruppe:"));
                    detectorLabel->setText(notifier ? QStringLiteral("Stellen der A&dresse:")
                                                    : QStringLiteral("Stellen der M&elder:"));
                }
                pseudoDigits->setEnabled(field(QStringLiteral("format")).toInt() == FormatPseudo);
                refresh();
            });
    setPage(LayoutPage, layout);

    // An existing project.
    auto* open = new CCheckedPage;
    open->setTitle(QStringLiteral("Bestehendes Projekt öffnen"));
    open->setSubTitle(QStringLiteral("Wählen Sie die Projektdatei (*.bmt)."));
    auto* path = new QLineEdit;
    path->setObjectName(QStringLiteral("path"));
    auto* browse = new QPushButton(QStringLiteral("&Durchsuchen..."));
    auto* pathProblem = new QLabel;
    pathProblem->setObjectName(QStringLiteral("pathProblem"));
    pathProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path, 1);
    pathRow->addWidget(browse);
    auto* openLayout = new QVBoxLayout(open);
    openLayout->addWidget(Buddy(QStringLiteral("&Projektdatei:"), path));
    openLayout->addLayout(pathRow);
    openLayout->addWidget(pathProblem);
    openLayout->addStretch(1);
    open->registerField(QStringLiteral("path"), path);
    auto pathState = [path] {
        const QString p = path->text().trimmed();
        if (p.isEmpty())
            return QString(QStringLiteral(" "));
        if (QFile::encodeName(p).size() >= int(sizeof(ProjectData::projectPath)))
            return QStringLiteral("Der Pfad ist zu lang.");
        if (!QFileInfo(p).isFile())
            return QStringLiteral("Die Datei gibt es nicht.");
        return QString();
    };
    open->complete = [pathState] { return pathState().isEmpty(); };
    connect(path, &QLineEdit::textChanged, this, [open, pathProblem, pathState] {
        pathProblem->setText(pathState().trimmed());
        emit open->completeChanged();
    });
    connect(browse, &QPushButton::clicked, this, [this, path] {
        const QString chosen = QFileDialog::getOpenFileName(
            this, QStringLiteral("Projekt öffnen"), QFileInfo(path->text()).path(),
            QStringLiteral("Projektdateien (*.bmt);;Alle Dateien (*)"));
        if (!chosen.isEmpty())
            path->setText(chosen);
    });
    setPage(OpenPage, open);

    // Texts from the FAT: nothing to set here, the FAT's identification brings the settings.
    auto* fat = new CCheckedPage;
    fat->setTitle(QStringLiteral("Texte aus dem FAT auslesen"));
    fat->setSubTitle(QStringLiteral("Das Projekt entsteht beim Auslesen."));
    auto* fatText = new QLabel(QStringLiteral(
        "Quillmark startet mit einer leeren Liste. Verbinden Sie den PC mit dem FAT und "
        "wählen Sie im Menü „FAT“ den Befehl „Daten auslesen“.\n\n"
        "Hersteller, Zentrale, Eingabeformat und die Stellen der Nummern kommen dann aus "
        "dem FAT."));
    fatText->setWordWrap(true);
    auto* fatLayout = new QVBoxLayout(fat);
    fatLayout->addWidget(fatText);
    fatLayout->addStretch(1);
    setPage(FatPage, fat);
    setStartId(StartPage);
    resize(560, 400);
}

CProjectWizard::Choice CProjectWizard::GetChoice() const
{
    if (field(QStringLiteral("openProject")).toBool())
        return OpenProject;
    if (field(QStringLiteral("fromFat")).toBool())
        return FromFat;
    return NewProject;
}

int CProjectWizard::nextId() const
{
    switch (currentId()) {
    case StartPage:
        switch (GetChoice()) {
        case NewProject:
            return PanelPage;
        case OpenProject:
            return OpenPage;
        case FromFat:
            return FatPage;
        }
        return -1;
    case PanelPage:
        return LayoutPage;
    default:
        return -1;
    }
}

ProjectData CProjectWizard::NewProjectData() const
{
    ProjectData d{};
    const PanelCatalogue::Model* chosen = ModelAt(field(QStringLiteral("model")).toInt());
    const PanelCatalogue::Model& m = chosen ? *chosen : PanelCatalogue::Models().front();
    d.textFormat = field(QStringLiteral("format")).toInt();
    if (d.textFormat < FormatStandard || d.textFormat > FormatTwoLines)
        d.textFormat = FormatStandard;
    d.displayChars = 2 * field(QStringLiteral("lineChars")).toInt();
    d.maxRecords = field(QStringLiteral("records")).toInt();
    d.groupDigits = field(QStringLiteral("groupDigits")).toInt();
    d.detectorDigits = field(QStringLiteral("detectorDigits")).toInt();
    d.pseudoGroupDigits = field(QStringLiteral("pseudoDigits")).toInt();
    d.text2Length = d.displayChars / 2;
    d.text1Length = ProjectRules::Text1LengthFor(d, d.textFormat, d.text2Length);
    d.panelType = m.panelType;
    d.panelVariant = m.panelVariant;
    const PanelCatalogue::Maker* maker = PanelCatalogue::MakerOfType(m.panelType);
    d.panelId[0] = maker->letters[0];
    d.panelId[1] = maker->letters[1];
    d.panelId[2] = ' ';
    d.panelId[3] = m.modelDigit;
    if (ProjectRules::LzCodingEnabled(d))
        ProjectRules::SetDefaultLzAssignment(d);
    return d;
}

bool CProjectWizard::Apply(ProjectData& data) const
{
    switch (GetChoice()) {
    case FromFat:
        data.textFormat = FormatFromFat;
        return true;
    case OpenProject: {
        const QByteArray path =
            QFile::encodeName(field(QStringLiteral("path")).toString().trimmed());
        if (path.isEmpty() || path.size() >= int(sizeof data.projectPath))
            return false;
        data.textFormat = FormatFromFile;
        std::memset(data.projectPath, 0, sizeof data.projectPath);
        std::memcpy(data.projectPath, path.constData(), size_t(path.size()));
        return true;
    }
    case NewProject:
        break;
    }
    const ProjectData d = NewProjectData();
    if (!ProjectLimits::WithinLimits(d))
        return false;
    data.textFormat = d.textFormat;
    data.displayChars = d.displayChars;
    data.maxRecords = d.maxRecords;
    data.groupDigits = d.groupDigits;
    data.detectorDigits = d.detectorDigits;
    data.pseudoGroupDigits = d.pseudoGroupDigits;
    data.text1Length = d.text1Length;
    data.text2Length = d.text2Length;
    data.panelType = d.panelType;
    data.panelVariant = d.panelVariant;
    std::memcpy(data.panelId, d.panelId, sizeof data.panelId);
    if (ProjectRules::LzCodingEnabled(d))
        std::memcpy(data.lzAssignment, d.lzAssignment, sizeof data.lzAssignment);
    return true;
}
