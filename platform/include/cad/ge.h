// Geometry values of the host interface: points, vectors, tolerances, and the growing arrays the
// host uses for lists of points and object ids.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return m_equalPoint; }
  double equalVector() const { return m_equalVector; }
  void setEqualPoint(double value) { m_equalPoint = value; }
  void setEqualVector(double value) { m_equalVector = value; }

 private:
  double m_equalPoint = 1e-10;
  double m_equalVector = 1e-12;
};

struct AcGeContext {
  static AcGeTol gTol;
};

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xv, double yv, double zv) : x(xv), y(yv), z(zv) {}

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol) {
    double len = length();
    if (len > tol.equalVector()) {
      x /= len;
      y /= len;
      z /= len;
    }
    return *this;
  }
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const {
    AcGeVector3d v = *this;
    return v.normalize(tol);
  }
  // Angle between the two vectors, 0 to pi.
  double angleTo(const AcGeVector3d& v) const {
    double lengths = length() * v.length();
    if (lengths == 0.0) return 0.0;
    return std::acos(std::clamp(dotProduct(v) / lengths, -1.0, 1.0));
  }
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const {
    return length() <= tol.equalVector();
  }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  bool operator==(const AcGeVector3d& v) const { return x == v.x && y == v.y && z == v.z; }
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return (*this - v).length() <= tol.equalVector();
  }

  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xv, double yv, double zv) : x(xv), y(yv), z(zv) {}

  double distanceTo(const AcGePoint3d& p) const {
    return std::sqrt((x - p.x) * (x - p.x) + (y - p.y) * (y - p.y) + (z - p.z) * (z - p.z));
  }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  AcGePoint3d& operator+=(const AcGeVector3d& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  bool operator==(const AcGePoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const AcGePoint3d& p) const { return !(*this == p); }
  AcGePoint3d& set(double xv, double yv, double zv) {
    x = xv;
    y = yv;
    z = zv;
    return *this;
  }
  AcGeVector3d asVector() const { return {x, y, z}; }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

  static const AcGePoint3d kOrigin;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xv, double yv) : x(xv), y(yv) {}
  double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
  bool operator==(const AcGePoint2d& p) const { return x == p.x && y == p.y; }

  double x = 0.0;
  double y = 0.0;
};

class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  bool operator==(const AcGeScale3d& s) const { return sx == s.sx && sy == s.sy && sz == s.sz; }

  double sx = 1.0;
  double sy = 1.0;
  double sz = 1.0;
};

// A growing array in the manner of the host's: `append` adds at the end, `length` counts.
template <typename T>
class AcArray {
 public:
  AcArray() = default;
  explicit AcArray(int initialPhysicalLength, int growLength = 8) : m_growLength(growLength) {
    m_items.reserve(initialPhysicalLength > 0 ? static_cast<std::size_t>(initialPhysicalLength)
                                              : 0);
  }

  int append(const T& value) {
    m_items.push_back(value);
    return length() - 1;
  }
  int length() const { return static_cast<int>(m_items.size()); }
  int logicalLength() const { return length(); }
  bool isEmpty() const { return m_items.empty(); }
  T& at(int i) { return m_items.at(static_cast<std::size_t>(i)); }
  const T& at(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
  T& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }
  const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
  T& first() { return m_items.front(); }
  T& last() { return m_items.back(); }
  const T& first() const { return m_items.front(); }
  const T& last() const { return m_items.back(); }
  AcArray& removeAt(int i) {
    m_items.erase(m_items.begin() + i);
    return *this;
  }
  AcArray& removeLast() {
    m_items.pop_back();
    return *this;
  }
  AcArray& insertAt(int i, const T& value) {
    m_items.insert(m_items.begin() + i, value);
    return *this;
  }
  AcArray& setLogicalLength(int n) {
    m_items.resize(static_cast<std::size_t>(std::max(n, 0)));
    return *this;
  }
  AcArray& setGrowLength(int n) {
    m_growLength = n;
    return *this;
  }
  int growLength() const { return m_growLength; }
  AcArray& removeAll() {
    m_items.clear();
    return *this;
  }
  AcArray& reverse() {
    std::reverse(m_items.begin(), m_items.end());
    return *this;
  }
  bool contains(const T& value) const { return find(value) >= 0; }
  int find(const T& value) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
      if (m_items[i] == value) return static_cast<int>(i);
    return -1;
  }
  const T* asArrayPtr() const { return m_items.data(); }
  auto begin() { return m_items.begin(); }
  auto end() { return m_items.end(); }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

 private:
  std::vector<T> m_items;
  int m_growLength = 8;
};

using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGeDoubleArray = AcArray<double>;
