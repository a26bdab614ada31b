#ifndef MEDIAGEN_DETMATH_H
#define MEDIAGEN_DETMATH_H

// Elementary functions built from +, -, *, / and sqrt only. The system's
// math library picks different code paths on different processors (with or
// without fused multiply-add) and may round the last bit differently; these
// give the same bits everywhere, so the generated media do too.

namespace det {

double sin(double x);
double cos(double x);
double exp(double x);
double log(double x);   // x > 0
double pow(double x, double y);  // x > 0; pow(0, y) = 0 for y > 0
double atan(double x);
double atan2(double y, double x);
double tanh(double x);
double hypot(double x, double y);

}  // namespace det

// Single-precision conveniences in the style of the C library.
inline float sinf_d(float x) { return (float)det::sin(x); }
inline float cosf_d(float x) { return (float)det::cos(x); }
inline float expf_d(float x) { return (float)det::exp(x); }
inline float powf_d(float x, float y) { return (float)det::pow(x, y); }
inline float atan2f_d(float y, float x) { return (float)det::atan2(y, x); }
inline float tanhf_d(float x) { return (float)det::tanh(x); }
// sqrt is exact by the floating-point standard, so this needs no help.
inline float hypotf_d(float x, float y) { return __builtin_sqrtf(x * x + y * y); }

#endif
