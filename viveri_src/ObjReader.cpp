// Reading OBJ files and their MTL material libraries. The OBJ file is read
// twice through one tokenizer: the first pass counts and makes the groups,
// the second fills the arrays sized from those counts. Face indices are
// checked against the counts so a damaged file ends in the fatal report.
#include "ObjReader.h"

#include "FatalReport.h"
#include "ObjLineReader.h"
#include "Sprite.h"
#include "SpriteManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

enum FaceFormat { FACE_V, FACE_V_T, FACE_V_T_N, FACE_V_N };

struct FaceCorner {
  long v = 0;
  long t = 0;
  long n = 0;
};

// An integer written with an optional sign; saturates far beyond any count.
bool parseIndex(const char *&p, long &value) {
  bool isNegative = *p == '-';
  if (*p == '-' || *p == '+')
    ++p;
  if (*p < '0' || *p > '9')
    return false;
  long result = 0;
  while (*p >= '0' && *p <= '9') {
    if (result < 1000000000000L)
      result = result * 10 + (*p - '0');
    ++p;
  }
  value = isNegative ? -result : result;
  return true;
}

bool expect(const char *&p, const char *text) {
  for (; *text != '\0'; ++text, ++p)
    if (*p != *text)
      return false;
  return true;
}

// One corner word in exactly this format.
bool parseCorner(const std::string &word, FaceFormat format, FaceCorner &corner) {
  const char *p = word.c_str();
  corner = FaceCorner();
  bool isRead = false;
  switch (format) {
    case FACE_V:
      isRead = parseIndex(p, corner.v);
      break;
    case FACE_V_T:
      isRead = parseIndex(p, corner.v) && expect(p, "/") && parseIndex(p, corner.t);
      break;
    case FACE_V_T_N:
      isRead = parseIndex(p, corner.v) && expect(p, "/") && parseIndex(p, corner.t) &&
               expect(p, "/") && parseIndex(p, corner.n);
      break;
    case FACE_V_N:
      isRead = parseIndex(p, corner.v) && expect(p, "//") && parseIndex(p, corner.n);
      break;
  }
  return isRead && *p == '\0';
}

// The corners of a face line: the format is the first corner's, two more
// corners of that format must follow, then as many as can be read.
bool readFace(const std::string &rest, FaceFormat &format, std::vector<FaceCorner> &corners) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && isObjBlank(rest[i]))
      ++i;
    size_t begin = i;
    while (i < rest.size() && !isObjBlank(rest[i]))
      ++i;
    if (i > begin)
      words.push_back(rest.substr(begin, i - begin));
  }
  corners.clear();
  if (words.size() < 3)
    return false;
  FaceCorner corner;
  if (words[0].find("//") != std::string::npos)
    format = FACE_V_N;
  else if (parseCorner(words[0], FACE_V_T_N, corner))
    format = FACE_V_T_N;
  else if (parseCorner(words[0], FACE_V_T, corner))
    format = FACE_V_T;
  else
    format = FACE_V;
  for (const std::string &word : words) {
    if (!parseCorner(word, format, corner))
      break;
    corners.push_back(corner);
  }
  return corners.size() >= 3;
}

std::string lineText(const ObjModelData *model, const ObjLineReader &reader) {
  return " in \"" + model->fileName + "\" line " + std::to_string(reader.getLineNumber());
}

[[noreturn]] void failBadFace(const ObjModelData *model, const ObjLineReader &reader) {
  std::string message = "glmReadOBJ() failed: unreadable face" + lineText(model, reader);
  FATAL(message.c_str());
}

void checkIndex(long index, int count, const char *kind, const ObjModelData *model,
                const ObjLineReader &reader) {
  if (index >= 1 && index <= count)
    return;
  std::string message = std::string("glmReadOBJ() failed: ") + kind + " index " +
                        std::to_string(index) + " is not between 1 and " + std::to_string(count) +
                        lineText(model, reader);
  ASSERT_MESSAGE(index >= 1 && index <= count, message.c_str());
}

ModelGroup *findGroup(ObjModelData *model, const std::string &name) {
  for (auto &group : model->groups)
    if (group->name == name)
      return group.get();
  return nullptr;
}

ModelGroup *addGroup(ObjModelData *model, const std::string &name) {
  ModelGroup *group = findGroup(model, name);
  if (group != nullptr)
    return group;
  auto newGroup = std::make_unique<ModelGroup>();
  newGroup->name = name;
  group = newGroup.get();
  model->groups.insert(model->groups.begin(), std::move(newGroup));
  ++model->nbGroups;
  return group;
}

// Up to count numbers from text into out; the missing ones stay as they are.
void readFloats(const std::string &text, float *out, int count) {
  const char *p = text.c_str();
  for (int i = 0; i < count; ++i) {
    char *end = nullptr;
    float value = strtof(p, &end);
    if (end == p)
      return;
    out[i] = value;
    p = end;
  }
}

std::string folderOf(const std::string &path, bool isBackslashAccepted) {
  size_t slash = path.find_last_of(isBackslashAccepted ? "/\\" : "/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void glmFirstPass(ObjModelData *model, ObjLineReader &reader) {
  ModelGroup *group = addGroup(model, "default");
  int nbVertices = 0, nbNormals = 0, nbTexCoords = 0, nbTriangles = 0;
  ObjLine line;
  FaceFormat format;
  std::vector<FaceCorner> corners;
  while (reader.next(line)) {
    if (line.word.empty())
      continue;
    switch (line.word[0]) {
      case 'v':
        if (line.word == "v") {
          ++nbVertices;
        } else if (line.word[1] == 'n') {
          ++nbNormals;
        } else if (line.word[1] == 't') {
          ++nbTexCoords;
        } else {
          printf("glmFirstPass(): Unknown token \"%s\".\n", line.word.c_str());
          fflush(stdout);
          exit(1);
        }
        break;
      case 'm':
        model->materialFileName = firstWord(line.rest);
        glmReadMTL(model->materialFileName, model);
        break;
      case 'g':
        group = addGroup(model, line.rest);
        break;
      case 'f':
        if (!readFace(line.rest, format, corners))
          failBadFace(model, reader);
        nbTriangles += static_cast<int>(corners.size()) - 2;
        group->nbTriangles += static_cast<int>(corners.size()) - 2;
        break;
      default:
        break;
    }
  }
  model->nbVertices = nbVertices;
  model->nbNormals = nbNormals;
  model->nbTexCoords = nbTexCoords;
  model->nbTriangles = nbTriangles;
  for (auto &eachGroup : model->groups) {
    eachGroup->triangleIndices.assign(eachGroup->nbTriangles, 0);
    eachGroup->nbTriangles = 0;
  }
}

void secondPass(ObjModelData *model, ObjLineReader &reader) {
  ModelGroup *group = findGroup(model, "default");
  int material = 0;
  int vertex = 1, normal = 1, texCoord = 1, triangle = 0;
  ObjLine line;
  FaceFormat format;
  std::vector<FaceCorner> corners;
  while (reader.next(line)) {
    if (line.word.empty())
      continue;
    switch (line.word[0]) {
      case 'v':
        // The file is the one the first pass counted; a file changed in
        // between must not write past the arrays.
        if (line.word == "v") {
          ASSERT_MESSAGE(vertex <= model->nbVertices, "model file changed while being read");
          readFloats(line.rest, &model->vertices[3 * vertex++], 3);
        } else if (line.word[1] == 'n') {
          ASSERT_MESSAGE(normal <= model->nbNormals, "model file changed while being read");
          readFloats(line.rest, &model->normals[3 * normal++], 3);
        } else if (line.word[1] == 't') {
          ASSERT_MESSAGE(texCoord <= model->nbTexCoords, "model file changed while being read");
          float *uv = &model->texCoords[2 * texCoord++];
          readFloats(line.rest, uv, 2);
          uv[1] = 1.0f - uv[1];
        }
        break;
      case 'g':
        group = findGroup(model, line.rest);
        ASSERT_MESSAGE(group != nullptr, "model file changed while being read");
        group->materialIndex = material;
        break;
      case 'u':
        material = glmFindMaterial(model, firstWord(line.rest));
        group->materialIndex = material;
        break;
      case 'f': {
        if (!readFace(line.rest, format, corners))
          failBadFace(model, reader);
        for (const FaceCorner &corner : corners) {
          checkIndex(corner.v, model->nbVertices, "vertex", model, reader);
          if (format == FACE_V_T || format == FACE_V_T_N)
            checkIndex(corner.t, model->nbTexCoords, "texture coordinate", model, reader);
          if (format == FACE_V_N || format == FACE_V_T_N)
            checkIndex(corner.n, model->nbNormals, "normal", model, reader);
        }
        ASSERT_MESSAGE(triangle + static_cast<int>(corners.size()) - 2 <= model->nbTriangles &&
                           group->nbTriangles + static_cast<int>(corners.size()) - 2 <=
                               static_cast<int>(group->triangleIndices.size()),
                       "model file changed while being read");
        // A fan: the first corner, the previous triangle's last, the new one.
        for (size_t i = 2; i < corners.size(); ++i) {
          ModelTriangle &t = model->triangles[triangle];
          const FaceCorner *fan[3] = {&corners[0], &corners[i - 1], &corners[i]};
          for (int j = 0; j < 3; ++j) {
            t.vertexIndices[j] = static_cast<int>(fan[j]->v);
            t.texCoordIndices[j] = static_cast<int>(fan[j]->t);
            t.normalIndices[j] = static_cast<int>(fan[j]->n);
          }
          group->triangleIndices[group->nbTriangles++] = triangle++;
        }
        break;
      }
      default:
        break;
    }
  }
  ASSERT_MESSAGE(vertex == model->nbVertices + 1 && triangle == model->nbTriangles,
                 "model file changed while being read");
}

ObjModelData *glmReadOBJ(const std::string &path) {
  FILE *file = fopen(path.c_str(), "r");
  std::string message = "glmReadOBJ() failed: can't open data file:" + path;
  ASSERT_MESSAGE(file, message.c_str());
  ObjModelData *model = new ObjModelData();
  model->fileName = path;
  ObjLineReader reader(file);
  glmFirstPass(model, reader);
  model->vertices.assign(3 * (model->nbVertices + 1), 0.0f);
  model->triangles.assign(model->nbTriangles, ModelTriangle());
  if (model->nbNormals != 0)
    model->normals.assign(3 * (model->nbNormals + 1), 0.0f);
  if (model->nbTexCoords != 0)
    model->texCoords.assign(2 * (model->nbTexCoords + 1), 0.0f);
  reader.rewind();
  secondPass(model, reader);
  fclose(file);
  return model;
}

int glmFindMaterial(const ObjModelData *model, const std::string &name) {
  for (int i = 0; i < model->nbMaterials; ++i)
    if (model->materials[i].name == name)
      return i;
  printf("glmFindMaterial():  can't find material \"%s\".\n", name.c_str());
  fflush(stdout);
  return 0;
}

void releaseMaterials(ObjModelData *model) {
  for (ModelMaterial &material : model->materials)
    if (material.textureSprite != nullptr)
      spriteManager->removeSprite(material.textureSprite);
  model->materials.clear();
  model->nbMaterials = 0;
}

namespace {

// A map line's rest: " file", or " -s u v w file" with a texture scale.
void readMap(ObjModelData *model, ModelMaterial &material, const std::string &rest,
             const std::string &mtlPath, const ObjLineReader &reader) {
  std::string where = " in \"" + mtlPath + "\" line " + std::to_string(reader.getLineNumber());
  std::string name;
  material.textureScale[0] = material.textureScale[1] = material.textureScale[2] = 1.0f;
  if (rest.size() > 3 && rest.compare(1, 3, "-s ") == 0) {
    const char *p = rest.c_str() + 4;
    for (int i = 0; i < 3; ++i) {
      char *end = nullptr;
      float value = strtof(p, &end);
      bool isNumber = end != p && std::isfinite(value);
      std::string message = "glmReadMTL() failed: \"-s\" needs three numbers" + where;
      ASSERT_MESSAGE(isNumber, message.c_str());
      material.textureScale[i] = value;
      p = end;
    }
    while (*p != '\0' && isObjBlank(*p))
      ++p;
    name = p;
  } else if (!rest.empty()) {
    name = rest.substr(1);
  }
  std::string message = "glmReadMTL() failed: map without a file name" + where;
  ASSERT_MESSAGE(!name.empty(), message.c_str());
  // A second map line for the same material replaces the first picture.
  if (material.textureSprite != nullptr)
    spriteManager->removeSprite(material.textureSprite);
  material.textureSprite = spriteManager->createSprite(folderOf(model->fileName, true) + name, 1);
}

}  // namespace

void glmReadMTL(const std::string &materialFileName, ObjModelData *model) {
  std::string path = folderOf(model->fileName, false) + materialFileName;
  FILE *file = fopen(path.c_str(), "r");
  ASSERT_MESSAGE(file, "glmReadMTL() failed: can't open material file \"%s\".");
  // A second library replaces the first.
  releaseMaterials(model);
  ObjLineReader reader(file);
  ObjLine line;
  int nbMaterials = 1;
  while (reader.next(line))
    if (!line.word.empty() && line.word[0] == 'n')
      ++nbMaterials;
  reader.rewind();
  model->materials.assign(nbMaterials, ModelMaterial());
  model->nbMaterials = nbMaterials;
  model->materials[0].name = "default";
  int current = 0;
  while (reader.next(line)) {
    if (line.word.empty())
      continue;
    ModelMaterial &material = model->materials[current];
    switch (line.word[0]) {
      case 'n': {
        ++current;
        ASSERT_MESSAGE(current < nbMaterials, "material file changed while being read");
        ModelMaterial &next = model->materials[current];
        next.name = firstWord(line.rest);
        next.textureSprite = nullptr;
        next.hasAmbientMap = false;
        break;
      }
      case 'K':
        if (line.word.size() >= 2 && line.word[1] == 'a')
          readFloats(line.rest, material.ambient, 3);
        else if (line.word.size() >= 2 && line.word[1] == 'd')
          readFloats(line.rest, material.diffuse, 3);
        else if (line.word.size() >= 2 && line.word[1] == 's')
          readFloats(line.rest, material.specular, 3);
        break;
      case 'N': {
        // Both Ns and Ni: the later line wins.
        float value = 0.0f;
        readFloats(line.rest, &value, 1);
        material.shininess = value / 1000.0f * 128.0f;
        break;
      }
      case 'm':
        if (line.word == "map_Ka") {
          material.hasAmbientMap = true;
          readMap(model, material, line.rest, path, reader);
        } else if (!material.hasAmbientMap) {
          readMap(model, material, line.rest, path, reader);
        }
        break;
      default:
        break;
    }
  }
  fclose(file);
}
