#include "components/VariableOutline.h"

#include <initializer_list>
#include <span>

#include "components/Canvas.h"

namespace components {

std::vector<QPoint> VariableOutline(const TRect& c, const TVariableShape& s) {
    const int L = c.Left, T = c.Top, R = c.Right, B = c.Bottom, e = s.edge, Hh = s.halfHeight;
    std::vector<QPoint> points;
    switch (s.left.form) {
    case fdRect:
        points = {{L, B}, {L, T}};
        break;
    case fdTriangle:
        if (s.left.style == fdConvex)
            points = {{L + e, B}, {L, Hh}, {L + e, T}};
        else
            points = {{L, B}, {L + e, Hh}, {L, T}};
        break;
    case fdDiagonal:
        if (s.left.style == fdConvex)
            points = {{L + e, B}, {L, T}};
        else
            points = {{L, B}, {L + e, T}};
        break;
    }
    switch (s.right.form) {
    case fdRect:
        points.insert(points.end(), {{R, T}, {R, B}});
        break;
    case fdTriangle:
        if (s.right.style == fdConvex)
            points.insert(points.end(), {{R - e, T}, {R, Hh}, {R - e, B}});
        else
            points.insert(points.end(), {{R, T}, {R - e, Hh}, {R, B}});
        break;
    case fdDiagonal:
        if (s.right.style == fdConvex)
            points.insert(points.end(), {{R, T}, {R - e, B}});
        else
            points.insert(points.end(), {{R - e, T}, {R, B}});
        break;
    }
    return points;
}

namespace {

// One ring's lines. a and b are the colours of the upper-left and lower-right lines; both are the
// ring's gradient colour when the band is a gradient.
class TVariableRing {
public:
    TVariableRing(TCanvas& canvas, const TBandRing& ring, const TVariableShape& shape)
        : canvas_(canvas),
          a_(ring.color),
          b_(ring.gradient ? ring.color : ring.colorB),
          L(ring.rect.Left),
          T(ring.rect.Top),
          R(ring.rect.Right),
          B(ring.rect.Bottom),
          k(ring.k),
          h(ring.k / 2),
          i(ring.i),
          d(ring.i / 2),
          w(shape.bandWidth),
          e(shape.edge),
          Hh(shape.halfHeight),
          LTe(L + e + h, T + k),
          LBe(L + e + h, B - k),
          RTe(R - e - h, T + k),
          RBe(R - e - h, B - k) {}

    void Draw(const TVariableShape& shape) {
        LeftPart(shape.left);
        RightPart(shape.right);
        LineA({LTe, RTe});
        LineB({RBe, LBe});
    }

private:
    void Path(TColor color, std::initializer_list<QPoint> points) {
        canvas_.SetPenColor(color);
        canvas_.Polyline(std::span<const QPoint>(points.begin(), points.size()));
    }
    void LineA(std::initializer_list<QPoint> points) { Path(a_, points); }
    void LineB(std::initializer_list<QPoint> points) { Path(b_, points); }

    void LeftPart(const TButtonSide& side) {
        const bool convex = side.style == fdConvex;
        if (side.edge == fdOpen) {
            switch (side.form) {
            case fdRect:
                LineA({{L, T + k}, LTe});
                LineB({LBe, {L - 1, B - k}});
                break;
            case fdTriangle:
                if (convex) {
                    LineA({{L + w - i, T + k}, LTe});
                    LineB({LBe, {L + w - i, B - k}});
                } else {
                    LineA({{L + i, T + k}, LTe});
                    LineB({LBe, {L + i - 1, B - k}});
                }
                break;
            case fdDiagonal:
                if (convex) {
                    LineA({{L + d + 1, T + k}, LTe});
                    LineB({LBe, {L + w - d - 1, B - k}});
                } else {
                    LineA({{L + w - d, T + k}, LTe});
                    LineB({LBe, {L + d, B - k}});
                }
                break;
            }
            return;
        }
        const int x = L + e + h - k + d;
        switch (side.form) {
        case fdRect:
            LineA({{L + k, B - k}, {L + k, T + k}, LTe});
            LineB({LBe, {L + k, B - k}});
            break;
        case fdTriangle:
            if (convex) {
                const int xb = i % 2 == 0 ? x - 1 : x;
                LineA({{xb, B - k}, {L + k, Hh}});
                LineA({{L + k, Hh}, {xb + 1, T + k}, LTe});
                LineB({LBe, {xb, B - k}});
            } else {
                LineA({{L + k, B - k}, {L + e + h, Hh}, {L + k, T + k}, LTe});
                LineB({LBe, {L + k, B - k}});
            }
            break;
        case fdDiagonal:
            if (convex) {
                LineA({LBe, {x, B - k}, {L + k, T + k}, LTe});  // the bottom piece too is in colour A
            } else {
                LineA({{L + k, B - k}, {x, T + k}, LTe});
                LineB({LBe, {L + k, B - k}});
            }
            break;
        }
    }

    void RightPart(const TButtonSide& side) {
        const bool convex = side.style == fdConvex;
        if (side.edge == fdOpen) {
            switch (side.form) {
            case fdRect:
                LineA({RTe, {R + 1, T + k}});
                LineB({{R, B - k}, RBe});
                break;
            case fdTriangle:
                if (convex) {
                    LineA({RTe, {R - w + i, T + k}});
                    LineB({{R - w + i, B - k}, RBe});
                } else {
                    LineA({RTe, {R - i, T + k}});
                    LineB({{R - i, B - k}, RBe});
                }
                break;
            case fdDiagonal:
                if (convex) {
                    LineA({RTe, {R - d, T + k}});
                    LineB({{R - w + d, B - k}, RBe});
                } else {
                    LineA({RTe, {R - w + d + 1, T + k}});
                    LineB({{R - d - 1, B - k}, RBe});
                }
                break;
            }
            return;
        }
        const int x = R - e - h + k - d;
        switch (side.form) {
        case fdRect:
            LineA({RTe, {R - k, T + k}});
            LineB({{R - k, T + k}, {R - k, B - k}, RBe});
            break;
        case fdTriangle:
            if (convex) {
                const int xt = i % 2 != 0 ? x - 1 : x;
                LineA({RTe, {xt, T + k}, {R - k, Hh}});
                LineB({{R - k - 1, Hh}, {xt, B - k}, RBe});
            } else {
                LineA({RTe, {R - k, T + k}});
                LineB({{R - k, T + k}, {R - e - h, Hh}});
                LineB({{R - e - h, Hh}, {R - k, B - k}, RBe});
            }
            break;
        case fdDiagonal:
            if (convex) {
                LineA({RTe, {R - k, T + k}});
                LineB({{R - k, T + k}, {x, B - k}, RBe});
            } else {
                LineB({RTe, {x, T + k}, {R - k, B - k}, RBe});  // the top piece too is in colour B
            }
            break;
        }
    }

    TCanvas& canvas_;
    const TColor a_, b_;
    const int L, T, R, B, k, h, i, d, w, e, Hh;
    const QPoint LTe, LBe, RTe, RBe;
};

}  // namespace

void DrawVariableRing(TCanvas& canvas, const TBandRing& ring, const TVariableShape& shape) {
    TVariableRing(canvas, ring, shape).Draw(shape);
}

}  // namespace components
