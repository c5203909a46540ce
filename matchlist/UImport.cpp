#include "matchlist/UImport.h"

#include "matchlist/ListFileText.h"
#include "platform/text/Cp1252.h"
#include "platform/text/FileName.h"
#include "platform/file/InputFile.h"
#include "platform/text/TextLines.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Ui.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Choice tables, by list position.
constexpr std::array<char, 4> kDelimiters{';', ',', '\t', ' '};
constexpr std::array<const char*, 4> kDelimiterItems{"; <semicolon>", ", <comma>", "  <tab>",
                                                     "  <space>"};
constexpr std::array<char, 2> kQuotes{'"', '\''};
constexpr std::array<const char*, 2> kQuoteItems{"\"", "'"};

constexpr int kFirstLineMin = 1;
constexpr int kFirstLineMax = 999999;
constexpr int kPreviewRows = 30;
constexpr int kRowHeight = 16;
constexpr int kNumberColumnWidth = 30;

// Nothing wider than this fits in a view; cutting the text keeps the drawing of a file
// with megabyte-long lines (or a binary file) quick.
constexpr size_t kShownChars = 1024;

QString Shown(std::string_view text)
{
    return ToQString(text.substr(0, kShownChars));
}

template <size_t N> int IndexOf(const std::array<char, N>& table, char c)
{
    const auto it = std::find(table.begin(), table.end(), c);
    return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}

template <size_t N> char ChoiceOr(const std::array<char, N>& table, int index, char fallback)
{
    return index >= 0 && index < static_cast<int>(N) ? table[static_cast<size_t>(index)] : fallback;
}

template <size_t N> void FillChoices(QComboBox& box, const std::array<const char*, N>& items)
{
    for (const char* item : items)
        box.addItem(ToQString(item));
}

}  // namespace

// The file's lines for LB1 and the preview: the file's bytes kept once, each line a view
// into them, converted only when drawn, so that a large file opens at once. Only the lines
// one can start the import from, and those the preview shows after them, are listed: a
// view row per line of a file of a hundred million line breaks would cost gigabytes.
class TImportLinesModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // The listed line of that number (1-based), if the file has it.
    std::optional<std::string_view> Line(std::size_t number) const
    {
        if (number < 1 || number > lines_.size())
            return std::nullopt;
        return lines_[number - 1];
    }
    void SetText(std::string bytes)
    {
        beginResetModel();
        lines_.clear();
        text_ = std::move(bytes);
        for (const std::string_view line : TTextLines(TextBeforeNul(text_))) {
            if (lines_.size() == kListedLines)
                break;
            lines_.push_back(line);
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(std::min(lines_.size(), kChosenLines));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount({}))
            return {};
        if (role == Qt::DisplayRole)
            return Shown(lines_[static_cast<size_t>(index.row())]);
        if (role == Qt::SizeHintRole)
            return QSize(1, kRowHeight);
        return {};
    }

private:
    static constexpr size_t kChosenLines = kFirstLineMax;
    static constexpr size_t kListedLines = kFirstLineMax + kPreviewRows - 1;

    std::string text_;
    std::vector<std::string_view> lines_;  // into text_, which no one changes meanwhile
};

TFormImport::TFormImport(QWidget* parent)
    : QDialog(parent), PanelTop(new QWidget(this)),
      lblRow1(new QLabel(ToQString("Start import at line:"), PanelTop)),
      EditRow1(new QSpinBox(PanelTop)),
      lblDelim(new QLabel(ToQString("Field separator:"), PanelTop)),
      EditDelim(new QComboBox(PanelTop)),
      lblQuote(new QLabel(ToQString("Quote character:"), PanelTop)),
      EditQuote(new QComboBox(PanelTop)), PanelTitle(new QLabel(this)),
      PanelMain(new QWidget(this)), LB1(new QListView(PanelMain)),
      SG1(new QTableWidget(kPreviewRows, 3, PanelMain)), PanelBottom(new QWidget(this)),
      btnOK(new QPushButton(ToQString("OK"), PanelBottom)),
      btnCancel(new QPushButton(ToQString("Cancel"), PanelBottom)),
      lines_(new TImportLinesModel(this))
{
    setObjectName("FormImport");
    PanelTop->setObjectName("PanelTop");
    lblRow1->setObjectName("lblRow1");
    EditRow1->setObjectName("EditRow1");
    lblDelim->setObjectName("lblDelim");
    EditDelim->setObjectName("EditDelim");
    lblQuote->setObjectName("lblQuote");
    EditQuote->setObjectName("EditQuote");
    PanelTitle->setObjectName("PanelTitle");
    PanelMain->setObjectName("PanelMain");
    LB1->setObjectName("LB1");
    SG1->setObjectName("SG1");
    PanelBottom->setObjectName("PanelBottom");
    btnOK->setObjectName("btnOK");
    btnCancel->setObjectName("btnCancel");

    setWindowTitle(ToQString("Import"));
    resize(600, 480);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(10, 10, 10, 10);  // the form's border width
    form->setSpacing(0);
    PanelTop->setFixedHeight(50);
    PanelTitle->setFixedHeight(30);
    PanelTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelBottom->setFixedHeight(35);
    form->addWidget(PanelTop);
    form->addWidget(PanelTitle);
    form->addWidget(PanelMain, 1);
    form->addWidget(PanelBottom);

    // The three choices side by side, each label above its control.
    lblRow1->setGeometry(0, 2, 180, 16);
    EditRow1->setGeometry(0, 20, 120, 24);
    lblDelim->setGeometry(190, 2, 180, 16);
    EditDelim->setGeometry(190, 20, 160, 24);
    lblQuote->setGeometry(380, 2, 180, 16);
    EditQuote->setGeometry(380, 20, 120, 24);
    EditRow1->setRange(kFirstLineMin, kFirstLineMax);
    EditRow1->setValue(1);
    FillChoices(*EditDelim, kDelimiterItems);
    FillChoices(*EditQuote, kQuoteItems);

    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(13);
    LB1->setFont(fixed);
    LB1->setUniformItemSizes(true);
    LB1->setModel(lines_);
    QPalette face = LB1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    LB1->setPalette(face);

    SG1->verticalHeader()->hide();
    SG1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    SG1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    SG1->horizontalHeader()->setFixedHeight(kRowHeight);
    SG1->horizontalHeader()->setMinimumSectionSize(0);
    SG1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG1->setSelectionBehavior(QAbstractItemView::SelectRows);
    SG1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Disabled only to keep it display-only: its text stays as readable as the list's.
    SG1->setEnabled(false);
    QPalette readable = SG1->palette();
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        readable.setColor(QPalette::Disabled, role, readable.color(QPalette::Active, role));
    SG1->setPalette(readable);
    for (int r = 0; r < kPreviewRows; ++r)
        for (int c = 0; c < 3; ++c)
            SG1->setItem(r, c, new QTableWidgetItem);

    auto* buttons = new QHBoxLayout(PanelBottom);
    buttons->setContentsMargins(0, 8, 0, 0);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);

    FormCreate();

    connect(btnOK, &QPushButton::clicked, this, ui::Guarded([this] { accept(); }));
    connect(btnCancel, &QPushButton::clicked, this, ui::Guarded([this] { reject(); }));
    connect(EditRow1, &QSpinBox::valueChanged, this, ui::Guarded([this](int) { DoUpdateGrid(); }));
    connect(EditDelim, &QComboBox::currentIndexChanged, this,
            ui::Guarded([this](int) { DoUpdateGrid(); }));
    connect(EditQuote, &QComboBox::currentIndexChanged, this,
            ui::Guarded([this](int) { DoUpdateGrid(); }));
    // A click and a move with the keys both pick a line.
    connect(LB1, &QListView::clicked, this,
            ui::Guarded([this](const QModelIndex&) { LB1Click(); }));
    connect(LB1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            ui::Guarded([this](const QModelIndex&, const QModelIndex&) { LB1Click(); }));
    PanelMain->installEventFilter(this);
}

TFormImport::~TFormImport() = default;

void TFormImport::FormCreate()
{
    EditDelim->setCurrentIndex(0);
    EditQuote->setCurrentIndex(0);
    SG1->setColumnWidth(0, kNumberColumnWidth);
    SG1->setCurrentCell(-1, -1);
    SG1->setHorizontalHeaderLabels(
        {QString(), ToQString("number plate"), ToQString("wiegand id-number")});
}

bool TFormImport::eventFilter(QObject* watched, QEvent* event)
{
    // The views share the main panel, so they follow its size rather than the form's.
    if (watched == PanelMain && event->type() == QEvent::Resize)
        FormResize();
    return QDialog::eventFilter(watched, event);
}

void TFormImport::FormResize()
{
    const int width = PanelMain->width();
    const int half = std::max(0, PanelMain->height() - 10) / 2;
    LB1->setGeometry(0, 0, width, half);
    SG1->setGeometry(0, PanelMain->height() - half, width, half);
    const int column = std::max(0, SG1->width() - kNumberColumnWidth - 8) / 2;
    SG1->setColumnWidth(1, column);
    SG1->setColumnWidth(2, column);
}

void TFormImport::DoUpdateGrid()
{
    FillPreview();
}

void TFormImport::LB1Click()
{
    const QModelIndex current = LB1->currentIndex();
    if (current.isValid())
        EditRow1->setValue(current.row() + 1);
}

int TFormImport::FirstLine() const
{
    return std::clamp(EditRow1->value(), kFirstLineMin, kFirstLineMax);
}

char TFormImport::ChosenDelimiter() const
{
    return ChoiceOr(kDelimiters, EditDelim->currentIndex(), delimiter_);
}

char TFormImport::ChosenQuote() const
{
    return ChoiceOr(kQuotes, EditQuote->currentIndex(), quoteChar_);
}

void TFormImport::FillPreview()
{
    const char delimiter = ChosenDelimiter();
    const char quote = ChosenQuote();
    const auto first = static_cast<size_t>(FirstLine());
    for (int r = 1; r <= kPreviewRows; ++r) {
        const size_t n = first + static_cast<size_t>(r) - 1;
        std::array<QString, 3> cells;
        if (const std::optional<std::string_view> line = lines_->Line(n)) {
            cells[0] = QString::number(n);
            const std::vector<std::string> fields = SplitFields(*line, delimiter, quote);
            if (!fields.empty())
                cells[1] = Shown(fields[0]);
            if (fields.size() >= 2)
                cells[2] = Shown(fields[1]);
        }
        for (int c = 0; c < 3; ++c)
            SG1->item(r - 1, c)->setText(cells[static_cast<size_t>(c)]);
    }
}

bool TFormImport::ShowImportDialog(const std::string& fileName, int& firstLine, char& delimiter,
                                   char& quoteChar)
{
    PanelTitle->setText(FileMessage("Example from file: %s :", {fileName}));
    {
        // One preview at the end instead of one per control set.
        const QSignalBlocker blockRow(EditRow1);
        const QSignalBlocker blockDelim(EditDelim);
        const QSignalBlocker blockQuote(EditQuote);
        const QSignalBlocker blockLines(LB1->selectionModel());
        EditRow1->setValue(std::clamp(firstLine, kFirstLineMin, kFirstLineMax));
        EditDelim->setCurrentIndex(IndexOf(kDelimiters, delimiter));
        EditQuote->setCurrentIndex(IndexOf(kQuotes, quoteChar));
        delimiter_ = delimiter;
        quoteChar_ = quoteChar;
        lines_->SetText(ReadFileBytes(fileName));
    }
    FillPreview();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    if (ui::CurrentUi().ShowModal(*this) != QDialog::Accepted)
        return false;
    firstLine = FirstLine();
    delimiter = ChosenDelimiter();
    quoteChar = ChosenQuote();
    return true;
}
