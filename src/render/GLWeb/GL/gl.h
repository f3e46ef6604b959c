// The OpenGL 1.1 the drawing code calls, for the page: found ahead of the
// system's <GL/gl.h> on the web build's include path, it names each call the
// game makes and sends it to GLWeb.cpp, which draws it with WebGL. Only
// those calls: one the game starts making fails to compile here first.
#pragma once

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef int GLint;
typedef unsigned int GLuint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;
typedef unsigned char GLubyte;
typedef void GLvoid;

#ifndef GL_FALSE
#define GL_FALSE 0
#define GL_TRUE 1
#endif
#ifndef GL_TEXTURE_2D
#define GL_TEXTURE_2D 0x0DE1
#define GL_DEPTH_TEST 0x0B71
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_ALPHA 0x1906
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_UNSIGNED_BYTE 0x1401
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_VIEWPORT 0x0BA2
#define GL_TEXTURE_BINDING_2D 0x8069
#define GL_NEVER 0x0200
#define GL_LESS 0x0201
#define GL_EQUAL 0x0202
#define GL_LEQUAL 0x0203
#define GL_GREATER 0x0204
#define GL_NOTEQUAL 0x0205
#define GL_GEQUAL 0x0206
#define GL_ALWAYS 0x0207
#define GL_NICEST 0x1102
#define GL_LINE_STRIP 0x0003
#define GL_TRIANGLES 0x0004
#endif
#define GL_QUADS 0x0007
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_LIGHTING 0x0B50
#define GL_ALPHA_TEST 0x0BC0
#define GL_ALPHA_TEST_FUNC 0x0BC1
#define GL_ALPHA_TEST_REF 0x0BC2
#define GL_CURRENT_RASTER_POSITION 0x0B07
#define GL_CURRENT_RASTER_POSITION_VALID 0x0B08
#define GL_CURRENT_TEXTURE_COORDS 0x0B03
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_REPLACE 0x1E01
#define GL_COMPILE 0x1300
#define GL_SMOOTH 0x1D01
#define GL_FLAT 0x1D00
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50

// The calls, under names of their own so that GLWeb.cpp can define them
// beside WebGL's functions of the same GL names.
void GLWebAlphaFunc(GLenum function, GLclampf reference);
void GLWebBegin(GLenum mode);
void GLWebBindTexture(GLenum target, GLuint texture);
void GLWebBitmap(GLsizei width, GLsizei height, GLfloat xOrigin, GLfloat yOrigin, GLfloat xMove, GLfloat yMove,
                 const GLubyte* bits);
void GLWebCallList(GLuint list);
void GLWebClear(GLbitfield mask);
void GLWebClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void GLWebClearDepth(GLclampd depth);
void GLWebColor3f(GLfloat red, GLfloat green, GLfloat blue);
void GLWebDeleteTextures(GLsizei count, const GLuint* textures);
void GLWebDepthFunc(GLenum function);
void GLWebDisable(GLenum capability);
void GLWebEnable(GLenum capability);
void GLWebEnd();
void GLWebEndList();
void GLWebFinish();
GLuint GLWebGenLists(GLsizei range);
void GLWebGenTextures(GLsizei count, GLuint* textures);
void GLWebGetBooleanv(GLenum name, GLboolean* values);
void GLWebGetFloatv(GLenum name, GLfloat* values);
void GLWebGetIntegerv(GLenum name, GLint* values);
void GLWebGetTexEnviv(GLenum target, GLenum name, GLint* values);
void GLWebHint(GLenum target, GLenum mode);
GLboolean GLWebIsEnabled(GLenum capability);
void GLWebLoadIdentity();
void GLWebMatrixMode(GLenum mode);
void GLWebNewList(GLuint list, GLenum mode);
void GLWebOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far);
void GLWebPixelStorei(GLenum name, GLint value);
void GLWebPopMatrix();
void GLWebPushMatrix();
void GLWebRasterPos2f(GLfloat x, GLfloat y);
void GLWebRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void GLWebShadeModel(GLenum mode);
void GLWebTexCoord2f(GLfloat s, GLfloat t);
void GLWebTexCoord4fv(const GLfloat* coordinates);
void GLWebTexEnvi(GLenum target, GLenum name, GLint value);
void GLWebTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                     GLenum format, GLenum type, const GLvoid* pixels);
void GLWebTexParameteri(GLenum target, GLenum name, GLint value);
void GLWebTranslatef(GLfloat x, GLfloat y, GLfloat z);
void GLWebVertex2f(GLfloat x, GLfloat y);
void GLWebVertex3f(GLfloat x, GLfloat y, GLfloat z);
void GLWebViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void GLWebPerspective(GLdouble fieldOfView, GLdouble aspect, GLdouble near, GLdouble far);

#ifndef GLWEB_DEFINING
#define glAlphaFunc GLWebAlphaFunc
#define glBegin GLWebBegin
#define glBindTexture GLWebBindTexture
#define glBitmap GLWebBitmap
#define glCallList GLWebCallList
#define glClear GLWebClear
#define glClearColor GLWebClearColor
#define glClearDepth GLWebClearDepth
#define glColor3f GLWebColor3f
#define glDeleteTextures GLWebDeleteTextures
#define glDepthFunc GLWebDepthFunc
#define glDisable GLWebDisable
#define glEnable GLWebEnable
#define glEnd GLWebEnd
#define glEndList GLWebEndList
#define glFinish GLWebFinish
#define glGenLists GLWebGenLists
#define glGenTextures GLWebGenTextures
#define glGetBooleanv GLWebGetBooleanv
#define glGetFloatv GLWebGetFloatv
#define glGetIntegerv GLWebGetIntegerv
#define glGetTexEnviv GLWebGetTexEnviv
#define glHint GLWebHint
#define glIsEnabled GLWebIsEnabled
#define glLoadIdentity GLWebLoadIdentity
#define glMatrixMode GLWebMatrixMode
#define glNewList GLWebNewList
#define glOrtho GLWebOrtho
#define glPixelStorei GLWebPixelStorei
#define glPopMatrix GLWebPopMatrix
#define glPushMatrix GLWebPushMatrix
#define glRasterPos2f GLWebRasterPos2f
#define glRotatef GLWebRotatef
#define glShadeModel GLWebShadeModel
#define glTexCoord2f GLWebTexCoord2f
#define glTexCoord4fv GLWebTexCoord4fv
#define glTexEnvi GLWebTexEnvi
#define glTexImage2D GLWebTexImage2D
#define glTexParameteri GLWebTexParameteri
#define glTranslatef GLWebTranslatef
#define glVertex2f GLWebVertex2f
#define glVertex3f GLWebVertex3f
#define glViewport GLWebViewport
#endif
