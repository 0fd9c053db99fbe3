#pragma once
// Correction of a cable table's allowable continuous currents for the ambient temperature of the
// line. The connection window (`TShiti`) inherits it, so that `Shiti->ScaleContinuousCurrents()`
// reads as designed; it touches no control and needs no window of its own.
#include <string>

class CableCurrentCorrection {
public:
    // The factor for an ambient temperature, degrees C: the air column (reference 25 degrees C)
    // or the ground column (reference 15 degrees C), a row every 5 degrees from -5 to 50. A
    // temperature between two rows takes the warmer row; below -5 the -5 row, above 50 the 50 row.
    static double AmbientTemperatureFactor(int temperature, bool inAir);

    // Opens the named cable table (program folder), takes the dataset's save point and multiplies
    // "Длительный ток" of every row by the factor. Returns that save point; the caller sets it
    // back to return the table to its stored values. -1 when the table could not be opened
    // (reported by the loader): nothing is scaled then.
    static int ScaleContinuousCurrents(const std::string& tableName, double factor);

    // The scaling alone, of the cable table that is open already (as ScaleContinuousCurrents
    // right after opening it, which the lookups do themselves). -1 without a cable table window.
    static int ScaleOpenTable(double factor);
};
