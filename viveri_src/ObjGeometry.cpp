// Normals, welding, drawing, the segment test and freeing of a read OBJ model.
// Degenerate triangles get zero normals (never NaN) and are skipped by the
// segment test; a segment parallel to a triangle's plane never hits it.
#include "ObjGeometry.h"

#include "Image.h"
#include "ObjReader.h"
#include "Sprite.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>

namespace {

Float3 vertexAt(const std::vector<float> &array, int index) {
  return Float3(array[3 * index], array[3 * index + 1], array[3 * index + 2]);
}

void storeAt(std::vector<float> &array, int index, const Float3 &value) {
  array[3 * index] = value.x();
  array[3 * index + 1] = value.y();
  array[3 * index + 2] = value.z();
}

float dot(const Float3 &a, const Float3 &b) {
  return a.x() * b.x() + a.y() * b.y() + a.z() * b.z();
}

Float3 cross(const Float3 &a, const Float3 &b) {
  return Float3(a.y() * b.z() - a.z() * b.y(), a.z() * b.x() - a.x() * b.z(),
                a.x() * b.y() - a.y() * b.x());
}

// A zero vector stays zero.
Float3 normalized(const Float3 &v) {
  float length = std::sqrt(dot(v, v));
  return length > 0.0f ? v / length : Float3();
}

}  // namespace

void scaleVertices(ObjModelData *model, float factor) {
  for (size_t i = 3; i < model->vertices.size(); ++i)
    model->vertices[i] *= factor;
}

void computeFacetNormals(ObjModelData *model) {
  model->nbFacetNormals = model->nbTriangles;
  model->facetnorms.assign(3 * (model->nbTriangles + 1), 0.0f);
  for (int i = 0; i < model->nbTriangles; ++i) {
    ModelTriangle &t = model->triangles[i];
    Float3 a = vertexAt(model->vertices, t.vertexIndices[0]);
    Float3 b = vertexAt(model->vertices, t.vertexIndices[1]);
    Float3 c = vertexAt(model->vertices, t.vertexIndices[2]);
    storeAt(model->facetnorms, i + 1, normalized(cross(b - a, c - a)));
    t.facetIndex = i + 1;
  }
}

void glmVertexNormals(ObjModelData *model, float angle) {
  float cosAngle = static_cast<float>(std::cos(angle * M_PI / 180.0));
  // For every vertex, the (triangle, corner) pairs using it, newest first.
  struct Member {
    int triangle;
    int corner;
  };
  std::vector<std::vector<Member>> members(model->nbVertices + 1);
  for (int i = model->nbTriangles - 1; i >= 0; --i)
    for (int j = 0; j < 3; ++j)
      members[model->triangles[i].vertexIndices[j]].push_back({i, j});

  std::vector<float> normals(3, 0.0f);  // index 0 stays empty
  auto addNormal = [&normals](const Float3 &n) {
    normals.push_back(n.x());
    normals.push_back(n.y());
    normals.push_back(n.z());
    return static_cast<int>(normals.size() / 3 - 1);
  };
  for (int v = 1; v <= model->nbVertices; ++v) {
    const std::vector<Member> &list = members[v];
    if (list.empty()) {
      fprintf(stderr, "glmVertexNormals(): vertex w/o a triangle\n");
      continue;
    }
    auto facetOf = [model](const Member &m) {
      return vertexAt(model->facetnorms, model->triangles[m.triangle].facetIndex);
    };
    Float3 first = facetOf(list[0]);
    std::vector<bool> isAveraged(list.size());
    Float3 sum;
    bool isAnyAveraged = false;
    for (size_t k = 0; k < list.size(); ++k) {
      Float3 facet = facetOf(list[k]);
      isAveraged[k] = dot(facet, first) > cosAngle;
      if (isAveraged[k]) {
        sum += facet;
        isAnyAveraged = true;
      }
    }
    int average = isAnyAveraged ? addNormal(normalized(sum)) : 0;
    for (size_t k = 0; k < list.size(); ++k) {
      int index = isAveraged[k] ? average : addNormal(facetOf(list[k]));
      model->triangles[list[k].triangle].normalIndices[list[k].corner] = index;
    }
  }
  model->normals.swap(normals);
  model->nbNormals = static_cast<int>(model->normals.size() / 3 - 1);
}

void weldVertices(ObjModelData *model, float tolerance) {
  std::vector<float> kept(3, 0.0f);
  std::vector<int> map(model->nbVertices + 1, 0);
  for (int i = 1; i <= model->nbVertices; ++i) {
    Float3 v = vertexAt(model->vertices, i);
    int nbKept = static_cast<int>(kept.size() / 3 - 1);
    for (int k = 1; k <= nbKept && map[i] == 0; ++k) {
      Float3 d = vertexAt(kept, k) - v;
      if (std::fabs(d.x()) < tolerance && std::fabs(d.y()) < tolerance &&
          std::fabs(d.z()) < tolerance)
        map[i] = k;
    }
    if (map[i] == 0) {
      kept.insert(kept.end(), {v.x(), v.y(), v.z()});
      map[i] = nbKept + 1;
    }
  }
  for (ModelTriangle &t : model->triangles)
    for (int &index : t.vertexIndices)
      index = map[index];
  model->vertices.swap(kept);
  model->nbVertices = static_cast<int>(model->vertices.size() / 3 - 1);
}

void glmDraw(const ObjModelData *model) {
  bool hasNormals = model->nbNormals != 0;
  bool hasTexCoords = model->nbTexCoords != 0;
  bool hasMaterials = model->nbMaterials != 0;
  if (!hasNormals)
    printf("glmDraw() warning: smooth render mode requested with no normals defined.\n");
  if (!hasTexCoords)
    printf(
        "glmDraw() warning: texture render mode requested with no texture coordinates "
        "defined.\n");
  if (!hasMaterials)
    printf("glmDraw() warning: material render mode requested with no materials defined.\n");
  fflush(stdout);
  if (hasMaterials)
    glDisable(GL_COLOR_MATERIAL);
  for (const auto &group : model->groups) {
    // Without a material library texture coordinates keep the scale (1, 1).
    float scaleU = 1.0f, scaleV = 1.0f;
    if (hasMaterials) {
      const ModelMaterial &material = model->materials[group->materialIndex];
      glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient);
      glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse);
      glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular);
      glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
      if (material.textureSprite != nullptr)
        glBindTexture(GL_TEXTURE_2D, material.textureSprite->images[0]->getTexture());
      scaleU = material.textureScale[0];
      scaleV = material.textureScale[1];
    }
    glBegin(GL_TRIANGLES);
    for (int triangleIndex : group->triangleIndices) {
      const ModelTriangle &t = model->triangles[triangleIndex];
      for (int j = 0; j < 3; ++j) {
        if (hasNormals)
          glNormal3fv(&model->normals[3 * t.normalIndices[j]]);
        // A corner written without a texture index has no texture coordinate.
        if (hasTexCoords && t.texCoordIndices[j] != 0) {
          const float *uv = &model->texCoords[2 * t.texCoordIndices[j]];
          glTexCoord2f(uv[0] * scaleU, uv[1] * scaleV);
        }
        glVertex3fv(&model->vertices[3 * t.vertexIndices[j]]);
      }
    }
    glEnd();
  }
}

namespace {

struct Point2 {
  float a, b;
};

bool isDegenerate(const Point2 p[3]) {
  bool isSameA = p[0].a == p[1].a && p[1].a == p[2].a;
  bool isSameB = p[0].b == p[1].b && p[1].b == p[2].b;
  auto same = [](const Point2 &u, const Point2 &v) { return u.a == v.a && u.b == v.b; };
  return isSameA || isSameB || same(p[0], p[1]) || same(p[1], p[2]) || same(p[0], p[2]);
}

float cross2(const Point2 &o, const Point2 &u, const Point2 &v) {
  return (u.a - o.a) * (v.b - o.b) - (u.b - o.b) * (v.a - o.a);
}

// The triangle and the point projected on the first plane (xy, xz, yz) where
// the triangle is not degenerate; false when it is degenerate on all three.
bool isInsideProjected(const Float3 corners[3], const Float3 &point) {
  static const int axes[3][2] = {{0, 1}, {0, 2}, {1, 2}};
  for (const auto &axis : axes) {
    Point2 p[3];
    for (int k = 0; k < 3; ++k)
      p[k] = {corners[k][axis[0]], corners[k][axis[1]]};
    if (isDegenerate(p))
      continue;
    Point2 q = {point[axis[0]], point[axis[1]]};
    for (int k = 0; k < 3; ++k) {
      const Point2 &a = p[k], &b = p[(k + 1) % 3], &c = p[(k + 2) % 3];
      if (!(cross2(a, b, q) * cross2(a, b, c) >= 0.0f))
        return false;
    }
    return true;
  }
  return false;
}

// The sign of a distance truncated toward zero, without converting to int.
int truncatedSign(float distance) {
  return distance >= 1.0f ? 1 : (distance <= -1.0f ? -1 : 0);
}

}  // namespace

bool segmentHitsModel(const ObjModelData &model, const Float3 &from, const Float3 &to,
                      Float3 &out) {
  Float3 direction = to - from;
  for (const ModelTriangle &t : model.triangles) {
    Float3 corners[3];
    for (int k = 0; k < 3; ++k)
      corners[k] = vertexAt(model.vertices, t.vertexIndices[k]);
    if (corners[0] == corners[1] || corners[1] == corners[2] || corners[0] == corners[2])
      continue;
    Float3 n = vertexAt(model.facetnorms, t.facetIndex);
    float d = -dot(n, corners[0]);
    float along = dot(n, direction);
    if (along == 0.0f)
      continue;  // parallel to the plane (or a zero normal)
    float t0 = -(dot(n, to) + d) / along;
    Float3 hit = to + direction * t0;
    if (!isInsideProjected(corners, hit))
      continue;
    int sideFrom = truncatedSign(dot(n, from) + d);
    int sideTo = truncatedSign(dot(n, to) + d);
    if ((sideFrom > 0 && sideTo > 0) || (sideFrom < 0 && sideTo < 0))
      continue;
    out = hit;
    return true;
  }
  return false;
}

void freeModel(ObjModelData *model) {
  releaseMaterials(model);
  delete model;
}
