#include "viewer/DbaseTableModel.h"

#include <shapefil.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "platform/errors/RunTimeError.h"
#include "platform/map/DbaseCells.h"
#include "platform/text/Cp932.h"

namespace velmora::viewer {

namespace {

constexpr int CannotOpen = 3051;     // "The database engine could not open the file"
constexpr int UnrecognizedDb = 3343;  // "Unrecognized database format"

[[noreturn]] void damaged(const std::string& path, const std::string& why) {
    throw RunTimeError(UnrecognizedDb, "Unrecognized database format '" + path + "': " + why);
}

}  // namespace

struct DbaseTableModel::Handle {
    DBFHandle dbf = nullptr;
    explicit Handle(DBFHandle h) : dbf(h) {}
    ~Handle() { DBFClose(dbf); }
};

DbaseTableModel::DbaseTableModel(const std::string& path, QObject* parent) : QAbstractTableModel(parent) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) throw RunTimeError(CannotOpen, "The database engine could not open the file '" + path + "'");
    // The fixed part of the header: version, date, record count, header length, record length.
    if (size < 32) damaged(path, "shorter than a header");
    DBFHandle h = DBFOpen(path.c_str(), "rb");
    if (!h) damaged(path, "the header cannot be read");
    handle_ = std::make_unique<Handle>(h);

    // shapelib trusts the header; a damaged file must not make us read or allocate beyond it.
    const std::uint64_t header = static_cast<std::uint64_t>(h->nHeaderLength);
    const std::uint64_t record = static_cast<std::uint64_t>(h->nRecordLength);
    const int fields = DBFGetFieldCount(h);
    if (fields <= 0) damaged(path, "no fields");
    if (header > size) damaged(path, "the header is longer than the file");
    std::uint64_t widths = 1;  // the deletion mark
    for (int f = 0; f < fields; ++f) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0, decimals = 0;
        const DBFFieldType type = DBFGetFieldInfo(h, f, name, &width, &decimals);
        if (width <= 0) damaged(path, "a field without width");
        widths += static_cast<std::uint64_t>(width);
        names_.push_back(QString::fromStdString(text::fromCp932(name)));
        numeric_.push_back(type == FTInteger || type == FTDouble);
    }
    if (widths > record) damaged(path, "the fields do not fit the record length");
    if (h->nRecords < 0 || header + static_cast<std::uint64_t>(h->nRecords) * record > size)
        damaged(path, "the records do not fit the file");
    rows_ = h->nRecords;
}

DbaseTableModel::~DbaseTableModel() = default;

void DbaseTableModel::close() {
    beginResetModel();
    handle_.reset();
    rows_ = 0;
    names_.clear();
    numeric_.clear();
    endResetModel();
}

int DbaseTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DbaseTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant DbaseTableModel::data(const QModelIndex& index, int role) const {
    if (!handle_ || !index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((numeric_[index.column()] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(map::dbaseCellText(handle_->dbf, index.row(), index.column()));
}

QVariant DbaseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section >= 0 && section < columnCount() ? QVariant(names_[section]) : QVariant();
}

Qt::ItemFlags DbaseTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace velmora::viewer
