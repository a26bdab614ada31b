#include "detmath.h"

#include <math.h>

namespace det {

namespace {

const double PI = 3.14159265358979323846;
const double HALF_PI_HI = 1.57079632673412561417;   // pi / 2 split in two parts so that
const double HALF_PI_LO = 6.07710050650619224932e-11;  // k * (pi / 2) is subtracted exactly
const double LN2_HI = 6.93147180369123816490e-01;
const double LN2_LO = 1.90821492927058770002e-10;

// Rounds to the nearest integer with + and - only (exact for |x| < 2^51).
double round_half(double x)
{
    const double big = 6755399441055744.0;  // 1.5 * 2^52
    return (x + big) - big;
}

// Taylor series to r^19 and r^18, evaluated by Horner's rule: for
// |r| <= pi / 4 the first term left out is below 1e-21.
double sin_poly(double r)
{
    double r2 = r * r;
    double p = -1.0 / 121645100408832000.0;  // -1 / 19!
    p = 1.0 / 355687428096000.0 + r2 * p;    // +1 / 17!
    p = -1.0 / 1307674368000.0 + r2 * p;     // -1 / 15!
    p = 1.0 / 6227020800.0 + r2 * p;         // +1 / 13!
    p = -1.0 / 39916800.0 + r2 * p;          // -1 / 11!
    p = 1.0 / 362880.0 + r2 * p;             // +1 / 9!
    p = -1.0 / 5040.0 + r2 * p;              // -1 / 7!
    p = 1.0 / 120.0 + r2 * p;                // +1 / 5!
    p = -1.0 / 6.0 + r2 * p;                 // -1 / 3!
    return r + r * r2 * p;
}

double cos_poly(double r)
{
    double r2 = r * r;
    double p = -1.0 / 6402373705728000.0;    // -1 / 18!
    p = 1.0 / 20922789888000.0 + r2 * p;     // +1 / 16!
    p = -1.0 / 87178291200.0 + r2 * p;       // -1 / 14!
    p = 1.0 / 479001600.0 + r2 * p;          // +1 / 12!
    p = -1.0 / 3628800.0 + r2 * p;           // -1 / 10!
    p = 1.0 / 40320.0 + r2 * p;              // +1 / 8!
    p = -1.0 / 720.0 + r2 * p;               // -1 / 6!
    p = 1.0 / 24.0 + r2 * p;                 // +1 / 4!
    p = -0.5 + r2 * p;                       // -1 / 2!
    return 1.0 + r2 * p;
}

// Splits x into k * pi / 2 + r with |r| <= pi / 4; returns k mod 4.
int reduce(double x, double* r)
{
    double k = round_half(x * (2.0 / PI));
    *r = (x - k * HALF_PI_HI) - k * HALF_PI_LO;
    long q = (long)k;
    return (int)(((q % 4) + 4) % 4);
}

}  // namespace

double sin(double x)
{
    double r;
    switch (reduce(x, &r)) {
    case 0: return sin_poly(r);
    case 1: return cos_poly(r);
    case 2: return -sin_poly(r);
    default: return -cos_poly(r);
    }
}

double cos(double x)
{
    double r;
    switch (reduce(x, &r)) {
    case 0: return cos_poly(r);
    case 1: return -sin_poly(r);
    case 2: return -cos_poly(r);
    default: return sin_poly(r);
    }
}

double exp(double x)
{
    if (x > 700) x = 700;
    if (x < -700) return 0.0;
    double k = round_half(x / (LN2_HI + LN2_LO));
    double r = (x - k * LN2_HI) - k * LN2_LO;
    double t = 1, sum = 1;
    for (int n = 1; n <= 14; n++) {
        t *= r / n;
        sum += t;
    }
    return ldexp(sum, (int)k);  // exact scaling by a power of two
}

double log(double x)
{
    if (x <= 0) return -1e300;
    int e;
    double m = frexp(x, &e);  // exact: x = m * 2^e, m in [0.5, 1)
    if (m < 0.70710678118654752440) {
        m *= 2;
        e -= 1;
    }
    double s = (m - 1) / (m + 1), s2 = s * s;
    double term = s, sum = 0;
    for (int n = 1; n <= 41; n += 2) {
        sum += term / n;
        term *= s2;
    }
    return 2 * sum + e * LN2_HI + e * LN2_LO;
}

double pow(double x, double y)
{
    if (x <= 0) return 0.0;
    return exp(y * log(x));
}

double atan(double x)
{
    bool negative = x < 0;
    if (negative) x = -x;
    bool inverted = x > 1;
    if (inverted) x = 1 / x;
    // Two halvings of the angle bring it below 0.2.
    for (int i = 0; i < 2; i++) x = x / (1 + sqrt(1 + x * x));
    double x2 = x * x, term = x, sum = 0;
    for (int n = 1; n <= 31; n += 2) {
        sum += term / n;
        term *= -x2;
    }
    sum *= 4;
    if (inverted) sum = PI / 2 - sum;
    return negative ? -sum : sum;
}

double atan2(double y, double x)
{
    if (x > 0) return atan(y / x);
    if (x < 0) return y >= 0 ? atan(y / x) + PI : atan(y / x) - PI;
    if (y > 0) return PI / 2;
    if (y < 0) return -PI / 2;
    return 0.0;
}

double tanh(double x)
{
    if (x > 20) return 1.0;
    if (x < -20) return -1.0;
    double e = exp(2 * x);
    return (e - 1) / (e + 1);
}

double hypot(double x, double y)
{
    return sqrt(x * x + y * y);
}

}  // namespace det
