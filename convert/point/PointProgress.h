#pragma once
// The progress display every point writer sets up before its records: count + count × 0.1 steps under
// "点データ変換中・・・", made visible between two yields.
namespace ModPoint {

void showWriterProgress(double count);

}  // namespace ModPoint
