Lumeno.fx: the shading of the particle toy, GLSL 330 core in named sections.

How the file is read:
  A line that starts with '@' is a directive; every other line belongs to the section the
  last directive opened. Lines before the first directive (these notes) are not compiled.
    @common                               code put before every section below
    @vertex NAME                          a vertex shader
    @fragment NAME                        a fragment shader
    @technique NAME VERTEX FRAGMENT       a technique of one pass: two sections, by name
    @compute NAME                         a compute shader (GLSL 430 core)
    @technique NAME VERTEX FRAGMENT CAPTURE  the same, for lines whose fragment shader writes
                                          the vertex colour unchanged: the compute section
                                          CAPTURE does the vertex shader's work for every
                                          vertex, so that the program may draw the smooth,
                                          blended lines with a rasteriser of its own (the
                                          faster one on software GL), as the driver's smooth
                                          lines would. Without compute shaders it is skipped.
  The loader puts "#version 330 core" in front, and in front of vertex shaders also
    uniform vec2 lumeno_TargetSize;       pixels of the render target, filled at each draw
    vec4 D3DClipToGl(vec4 clip);          clip space with +y at the top of the target -> GL
    vec4 PretransformedToGl(vec4 xyzrhw); pixel position (centres on integers) -> GL clip
  Vertex inputs by location: 0 = x, y, z, rhw; 1 + n = texture-coordinate set n.
  In front of compute sections: "#version 430 core", lumeno_TargetSize, D3DClipToGl and
    int LumenoVertex();                   the vertex this invocation does (may be past the
                                          end: compare with lumeno_VertexCount)
    vec4 LumenoStreamTexel(int v, int n); 16 bytes n of vertex v of the stream
    void LumenoCapture(int v, vec4 clip, vec4 colour);  the vertex's clip position and colour
  Any compiler or linker message, a warning included, refuses the whole file.

Parameters set by the program:
  g_fParticleCount, g_fAlphaIntensity, g_fScreenAspectRatio (canvas height / width),
  g_fFadeOutRatio, g_fExp, g_tScene (the canvas).

@common
uniform float g_fParticleCount;
uniform float g_fAlphaIntensity;
uniform float g_fScreenAspectRatio;
uniform float g_fFadeOutRatio;
uniform float g_fExp;

// Moves a value a share (1 - ratio) of the way towards the target, plus a small fixed
// step so that an 8-bit canvas, whose rounding would keep faint streaks forever, fades
// out too; never past the target. At ratio 1 both steps are 0 and nothing changes.
vec4 FadeTowards(vec4 value, vec4 target, float ratio)
{
    vec4 gap = target - value;
    vec4 move = gap * (1.0 - ratio) + sign(gap) * ((1.0 - ratio) * 0.25);
    return value + mix(move, gap, lessThan(abs(gap), abs(move)));
}

// A particle's place: simulation space has x scaled by height / width, so the attractor
// sits under the cursor. Clip space with +y at the top.
vec4 ParticleClip(vec2 position)
{
    return vec4(position.x * g_fScreenAspectRatio, position.y, 0.0, 1.0);
}

// The streaks were tuned at 20000 particles; a larger cloud draws each one fainter, so
// the picture keeps its density, and a small cloud a little brighter.
float CountScale()
{
    return clamp(sqrt(20000.0 / max(g_fParticleCount, 1.0)), 0.1, 2.0);
}

// Every particle gives the same light each step, spread along its streak: a fast particle
// leaves a long faint line, a slow one a short bright one, so the thousands of streaks
// that cross the attractor's core each step do not burn it flat at once.
vec4 StreakColour(vec2 velocity, vec4 colour, float targetHeight)
{
    float lengthPx = length(velocity) * targetHeight * 0.5;
    return vec4(colour.rgb, g_fAlphaIntensity * CountScale() * 0.4 / max(lengthPx, 1.0));
}

@vertex Particle
// One vertex of a particle's streak: set 0 position, set 1 velocity (units per step),
// set 2 colour (already complemented by the simulation in invert mode).
layout(location = 1) in vec2 inPosition;
layout(location = 2) in vec2 inVelocity;
layout(location = 3) in vec4 inColour;
out vec4 streakColour;
out vec2 streakVelocity;

void main()
{
    gl_Position = D3DClipToGl(ParticleClip(inPosition));
    streakColour = StreakColour(inVelocity, inColour, lumeno_TargetSize.y);
    streakVelocity = inVelocity;
}

@compute CaptureParticle
// The Particle vertex shader's work for every vertex of the stream, 32 bytes each:
// position and velocity, then colour.
layout(local_size_x = 64) in;
void main()
{
    int vertex = LumenoVertex();
    if (vertex >= lumeno_VertexCount)
        return;
    vec4 placeAndVelocity = LumenoStreamTexel(vertex, 0);
    vec4 colour = LumenoStreamTexel(vertex, 1);
    LumenoCapture(vertex, D3DClipToGl(ParticleClip(placeAndVelocity.xy)),
                  StreakColour(placeAndVelocity.zw, colour, lumeno_TargetSize.y));
}

@fragment Streak
in vec4 streakColour;
in vec2 streakVelocity;
out vec4 fragColour;
void main()
{
    fragColour = streakColour;
}

@fragment DebugStreak
// Debug view: hue from the direction of motion, brightness from the speed.
in vec4 streakColour;
in vec2 streakVelocity;
out vec4 fragColour;
void main()
{
    float speed = length(streakVelocity);
    float angle = atan(streakVelocity.y, streakVelocity.x + 1e-12);
    vec3 hue = 0.5 + 0.5 * cos(angle + vec3(0.0, 2.0943951, 4.1887902));
    fragColour = vec4(hue * mix(0.35, 1.0, smoothstep(0.0, 0.05, speed)), 0.8);
}

@vertex ScreenQuad
// The pre-transformed full-screen quad: x, y, z, rhw in pixels and one texture coordinate.
layout(location = 0) in vec4 inPositionT;
layout(location = 1) in vec2 inTexCoord;
out vec2 texCoord;
void main()
{
    gl_Position = PretransformedToGl(inPositionT);
    texCoord = inTexCoord;
}

@fragment FadeToBlack
uniform sampler2D g_tScene;
in vec2 texCoord;
out vec4 fragColour;


void main()
{
    // Colour towards black, alpha towards the background's 0.
    fragColour = FadeTowards(texture(g_tScene, texCoord), vec4(0.0), g_fFadeOutRatio);
}

@fragment FadeToWhite
uniform sampler2D g_tScene;
in vec2 texCoord;
out vec4 fragColour;

void main()
{
    // Colour towards white, alpha towards the background's 0.
    vec4 scene = texture(g_tScene, texCoord);
    fragColour = FadeTowards(scene, vec4(1.0, 1.0, 1.0, 0.0), g_fFadeOutRatio);
}

@fragment Exposure
uniform sampler2D g_tScene;
in vec2 texCoord;
out vec4 fragColour;

// Float canvases hold light beyond white (many streaks on black) or ink beyond black
// (many streaks subtracted from white). A sixth of the excess spills into the other
// channels, so dense cores burn towards white on black and towards black on white
// instead of stopping at a flat saturated hue. 8-bit canvases have no excess.
vec3 Spill(vec3 c)
{
    // max(c, 1) - 1 is the excess over white, -min(c, 0) the ink beyond black.
    vec3 beyond = max(c, 1.0) + min(c, 0.0);
    return c + (beyond.r + beyond.g + beyond.b - 3.0) * (1.0 / 6.0);
}

// log2 and exp2 to about 1e-3, cheaper than the built-in ones on software rasterisers,
// where this pass is bound by arithmetic: the exponent from the float's bits and a cubic
// for the rest. Their error moves the curve below by less than a quarter of an 8-bit step
// at every exposure the dialog offers. Log2Approx needs x > 0 and normal, Exp2Approx a z
// within +-126.
vec3 Log2Approx(vec3 x)
{
    ivec3 bits = floatBitsToInt(x);
    vec3 t = intBitsToFloat((bits & 0x007fffff) | 0x3f800000) - 1.0;
    return vec3((bits >> 23) - 127) + t * (1.4231003 + t * (-0.58451976 + t * 0.16207245));
}

vec3 Exp2Approx(vec3 z)
{
    vec3 whole = floor(z);
    vec3 t = z - whole;
    return intBitsToFloat((ivec3(whole) + 127) << 23) * (1.0 + t * (0.6951231 + t * (0.22764465 + t * 0.07705890)));
}

// c^e / (c^e + (1 - c)^e): 0 and 1 stay put at every exposure, e = 1 is the identity, and
// the curve is symmetric under c -> 1 - c, so an exposure acts alike on light streaks on
// black and on dark streaks on white: below 1 it lifts faint streaks out of the
// background, above 1 it sinks them and hardens the dense ones.
// Written as 1 / (1 + 2^(e (log2(1 - c) - log2(c)))): two logarithms and one power of two a
// channel, and one division. Both logarithms see at least 1e-30 and the power is held
// within the floats' range, so c = 0 gives 0 and c = 1 gives 1 to within 1e-8.
vec3 Expose(vec3 c, float e)
{
    c = clamp(c, 0.0, 1.0);
    vec3 darkOverLight = Log2Approx(max(1.0 - c, 1e-30)) - Log2Approx(max(c, 1e-30));
    return 1.0 / (1.0 + Exp2Approx(clamp(e * darkOverLight, -126.0, 126.0)));
}

void main()
{
    vec3 scene = Spill(texture(g_tScene, texCoord).rgb);
    fragColour = vec4(Expose(scene, max(g_fExp, 1e-3)), 1.0);
}

@technique Lumeno Particle Streak CaptureParticle
@technique LumenoDebug Particle DebugStreak
@technique Fade ScreenQuad FadeToBlack
@technique FadeInv ScreenQuad FadeToWhite
@technique Scene ScreenQuad Exposure
