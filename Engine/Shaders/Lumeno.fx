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
    vec3 over = max(c - 1.0, 0.0);
    vec3 under = max(-c, 0.0);
    return c + (over.r + over.g + over.b) / 6.0 - (under.r + under.g + under.b) / 6.0;
}

// c^e / (c^e + (1 - c)^e): 0 and 1 stay put at every exposure, e = 1 is the identity, and
// the curve is symmetric under c -> 1 - c, so an exposure acts alike on light streaks on
// black and on dark streaks on white: below 1 it lifts faint streaks out of the
// background, above 1 it sinks them and hardens the dense ones.
// Written as 1 / (1 + ((1 - c) / c)^e): one logarithm and one power of two a channel
// instead of two powers, which halves the pass's cost on software rasterisers. The ratio
// is held inside the floats' range, so c = 0 gives 0 and c = 1 gives 1 exactly.
vec3 Expose(vec3 c, float e)
{
    c = clamp(c, 0.0, 1.0);
    vec3 darkOverLight = clamp((1.0 - c) / max(c, 1e-30), 1e-30, 1e30);
    return 1.0 / (1.0 + exp2(e * log2(darkOverLight)));
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
