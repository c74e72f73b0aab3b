#include "polygon/core/ExactOrientation.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace ostrand {

namespace {

// a + b = s + e exactly.
void two_sum(double a, double b, double& s, double& e) {
    s = a + b;
    const double bv = s - a;
    const double av = s - bv;
    e = (a - av) + (b - bv);
}

// a * b = p + e exactly (fma rounds once).
void two_product(double a, double b, double& p, double& e) {
    p = a * b;
    e = std::fma(a, b, -p);
}

// An exact sum of doubles as a growing list of non-overlapping terms, smallest first; its sign is the sign
// of its largest term.
class Expansion {
public:
    void add(double v) {
        std::size_t kept = 0;
        double q = v;
        for (std::size_t i = 0; i < n_; ++i) {
            double s, e;
            two_sum(q, terms_[i], s, e);
            q = s;
            if (e != 0.0) terms_[kept++] = e;
        }
        n_ = kept;
        if (q != 0.0) terms_[n_++] = q;
    }
    int sign() const { return n_ == 0 ? 0 : (terms_[n_ - 1] > 0.0 ? 1 : -1); }

private:
    std::array<double, 24> terms_{};
    std::size_t n_ = 0;
};

// Relative error bound of the rounded determinant below (Shewchuk's first bound for this form).
constexpr double kErrorBound = 3.3306690738754716e-16;

}  // namespace

int exact_orientation(const Point& a, const Point& b, const Point& c) {
    const double acx = b.x - a.x, acy = c.y - a.y, bcx = c.x - a.x, bcy = b.y - a.y;
    const double left = acx * acy, right = bcy * bcx;
    const double det = left - right;
    const double bound = kErrorBound * (std::fabs(left) + std::fabs(right));
    if (det > bound) return 1;
    if (-det > bound) return -1;
    if (left == 0.0 && right == 0.0) return 0;

    // (b.x - a.x)(c.y - a.y) - (b.y - a.y)(c.x - a.x) with every difference and product kept exactly.
    double d[4], e[4];
    two_sum(b.x, -a.x, d[0], e[0]);
    two_sum(c.y, -a.y, d[1], e[1]);
    two_sum(b.y, -a.y, d[2], e[2]);
    two_sum(c.x, -a.x, d[3], e[3]);
    Expansion sum;
    const double f1[2] = {d[0], e[0]}, g1[2] = {d[1], e[1]};
    const double f2[2] = {d[2], e[2]}, g2[2] = {d[3], e[3]};
    for (double f : f1)
        for (double g : g1) {
            double p, q;
            two_product(f, g, p, q);
            sum.add(p);
            sum.add(q);
        }
    for (double f : f2)
        for (double g : g2) {
            double p, q;
            two_product(f, g, p, q);
            sum.add(-p);
            sum.add(-q);
        }
    return sum.sign();
}

}  // namespace ostrand
