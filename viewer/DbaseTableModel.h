#pragma once
// A dBASE III/IV table as a read-only Qt table model: the header is read when the file is opened and
// checked against the file's size; rows are read from the file only when a view asks for them, so a
// table of any length opens at once and costs no more memory than the rows on screen. Text is CP932.
#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

namespace velmora::viewer {

class DbaseTableModel : public QAbstractTableModel {
public:
    // Throws RunTimeError 3051 when the file cannot be opened, 3343 when it is no dBASE table or its header,
    // record length or record count do not fit the file.
    explicit DbaseTableModel(const std::string& path, QObject* parent = nullptr);
    ~DbaseTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Lets the file go (the window deletes it); the model is empty afterwards.
    void close();

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    int rows_ = 0;
    std::vector<QString> names_;
    std::vector<bool> numeric_;
};

}  // namespace velmora::viewer
