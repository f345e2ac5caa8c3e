vs.1.1
mov	oT0, v2
sub	r0.xyz, v0.xyz, c5.xyz
dp3	r0.w, r0.xyz, r0.xyz
rsq	r1.w, r0.w
mul	r0.xyzw, r0.xyzw, r1.wwww
sub	r5.w, r0.w, c5.w
sge	r1.w, c4.x, r5.w
add	r5.w, c6.y, r5.w
max	r5.w, c4.x, r5.w
mul	r5.w, r1.w, r5.w
mad	r5.xyz, r0.xyz, r5.www, v0.xyz
sge	r5.w, r5.x, r5.x
m4x4	r2, r5, c0
mov	oPos, r2
dp3	r1.x, v1.xyz, -r0.xyz
sub	r1.y, c6.z, r0.w
max	r1.xy, c4.x, r1.xy
mul	r6.xyz, r1.xxx, r1.yyy
sub	r0.w, r2.w, c17.x
max	r0.w, c4.x, r0.w
mul	r0.w, r0.w, c17.y
mad	r6.xyz, r0.www, c16, r6.xyz
sub	r1.w, c4.y, r0.w
dp3	r7.xyz, v1,  c14.xyz
add	r7.xyz, r7,  r7
mad	r7.xyz, r7, -v1, c14.xyz
dp3	r7.w, c13.xyz, r7
max	r7.w, r7.w, c4.x
mul	r7.w, r7.w, r7.w
mul	r7.w, r7.w, r7.w
mad	r6.rgb, r7.www, c15, r6.xyz
add	oD1.rgb, c18, r6.xyz
dp3	r6.x, v1.xyz, c8.xyz
dp3	r6.y, v1.xyz, c21.yzw
dp3	r6.z, v1.xyz, c10.xyz
dp3	r6.w, v1.xyz, c12.xyz
max	r6.xyzw, c4.x, r6.xyzw
mul	r6.xyzw, r6.xyzw, r1.wwww
mul	r0.xyz, r6.xxx, c7
mad	r0.xyz, r6.yyy, c9, r0.xyz
mad	r0.xyz, r6.zzz, c11, r0.xyz
mad	r0.xyz, r6.www, c19, r0.xyz
add	oD0.rgb,  r0.xyz, c6
m4x4	r2, r5, c20
mov	oT1, r2
sub	r2.w, r2.w, c24.x
mul	oD0.a, r2.w, c24.y
